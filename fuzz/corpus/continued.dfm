object A: TA
  Caption = 'first ' +
    'second' + #9 +
    'third'
end
