0var list: TList; sl: TStringList; name: String;
begin
  list := TList.Create;
  sl := TStringList.Create;
  list.Add(sl);
  sl.Free;
  name := TObject(list[0]).ClassName;
  list.Free
end.
