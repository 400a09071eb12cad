0var i: TMemIniFile;
begin
  i := TMemIniFile.Create('');
  i.WriteString('S', 'K', 'V');
  i.ReadSection('S', nil);
  i.ReadSections(nil);
  i.ReadSectionValues('S', nil);
  i.GetStrings(nil);
  i.SetStrings(nil);
  i.WriteBinaryStream('S', 'K', nil);
  i.SaveIniFileToStream(nil);
  i.Free
end.
