object A: TA
  Caption = 'it''s'#13#10'next'
  Hint = ''
  Text = #65#0#255
end
