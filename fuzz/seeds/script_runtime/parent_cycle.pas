0var a, b: TGroupBox; f: TForm;
begin
  f := TForm.Create(nil);
  a := TGroupBox.Create(f);
  b := TGroupBox.Create(f);
  a.Parent := f;
  b.Parent := a;
  try b.Parent := b except end;
  a.Parent := b;
  f.Free
end.
