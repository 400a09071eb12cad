0var sl, held: TStringList; name: String;
begin
  sl := TStringList.Create;
  held := TStringList.Create;
  sl.AddObject('a', held);
  held.Free;
  name := TObject(sl.Objects[0]).ClassName;
  sl.Free
end.
