object A: TA
  Font.Style = [fsBold, fsItalic, fsUnderline]
  Anchors = []
  Options = [a]
end
