0var s: String; a: Variant; i: Integer;
begin
  try SetLength(s, 2000000000) except end;
  s := 'ab';
  for i := 1 to 40 do Insert(s, s, 1);
  s := Format('%s%s%s', [s, s, s]);
  a := VarArrayCreate([0, 1], varVariant);
  SetLength(a, 2000000000)
end.
