0var m: TMemoryStream; sl: TStringList; s: String;
begin
  m := TMemoryStream.Create;
  sl := TStringList.Create;
  sl.Text := 'Привет';
  sl.SaveToStream(m);
  m.Position := 0;
  m.Read(s, 100);
  m.Write('Да', 2);
  m.Position := 0;
  sl.LoadFromStream(m);
  sl.Free; m.Free
end.
