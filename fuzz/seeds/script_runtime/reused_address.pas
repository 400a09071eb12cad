0var list: TList; names: TStringList; sl, sl2: TStringList; seen: String;
begin
  list := TList.Create; names := TStringList.Create;
  sl := TStringList.Create; sl.Text := 'freed';
  list.Add(sl); names.AddObject('x', sl);
  sl.Free;
  sl2 := TStringList.Create; sl2.Text := 'later';
  seen := TStringList(list[0]).Text + TStringList(names.Objects[0]).Text;
  sl2.Free; list.Free; names.Free
end.
