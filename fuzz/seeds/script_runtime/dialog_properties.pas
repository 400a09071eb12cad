0var d: TOpenDialog; p: TPrintDialog; f: TFontDialog;
begin
  d := TOpenDialog.Create(nil);
  d.FileName := 'a.pdf';
  d.Filter := 'PDF|*.pdf';
  d.Options := ofAllowMultiSelect;
  d.Execute;
  p := TPrintDialog.Create(nil);
  p.FromPage := 1; p.ToPage := 9; p.PrintRange := prPageNums;
  p.Execute;
  f := TFontDialog.Create(nil);
  f.Font.Name := 'Arial';
  f.Execute;
  d.Free; p.Free; f.Free
end.
