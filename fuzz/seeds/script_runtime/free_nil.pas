0var x: TObject;
begin
  x := nil;
  try
    x.Free
  finally
    x.Free
  end
end.
