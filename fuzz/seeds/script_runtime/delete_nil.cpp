1TObject x = nil;
{
  delete x;
}
