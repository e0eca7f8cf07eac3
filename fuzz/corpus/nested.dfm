object A: TA
  Visible = True
  object B: TB
    Enabled = False
    object C: TC
      OnClick = CClick
      object D: TD
      end
    end
  end
  object E: TE
  end
end
