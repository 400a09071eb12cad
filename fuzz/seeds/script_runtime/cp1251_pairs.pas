0var sl: TStringList; ms: TMemoryStream;
begin
  sl := TStringList.Create; ms := TMemoryStream.Create;
  sl.Text := Chr($D1) + Chr($B8) + #13#10 + Chr($D0) + Chr($BB);
  sl.SaveToStream(ms);
  ms.Position := 0;
  sl.LoadFromStream(ms);
  sl.SaveToFile('pairs.txt');
  sl.LoadFromFile('pairs.txt');
  sl.Free; ms.Free
end.
