object A: TA
  Left = -2147483648
  Top = 2147483647
  Height = -11
  Width = +0
  Tag = 007
end
