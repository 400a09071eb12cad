// Report scripts driving report objects through the report classes'
// binding modules, and the walk over every member the modules register.

#include "report/RecordingServices.h"
#include "report/pages/qvxBands.h"
#include "report/bindings/qvxChBoxRTTI.h"
#include "report/bindings/qvxClassRTTI.h"
#include "report/pages/qvxDMP.h"
#include "report/views/qvxMemoView.h"
#include "report/model/qvxOptions.h"
#include "report/pages/qvxPage.h"
#include "report/views/qvxPictureView.h"
#include "report/report/qvxReport.h"
#include "report/data/qvxReportDataSets.h"
#include "report/components/qvxStyles.h"
#include "report/data/qvxUserDataSet.h"
#include "report/model/qvxVariables.h"
#include "script/HeldObjectsWalk.h"
#include "script/UnservedMembers.h"
#include "script/zqScript.h"
#include "toolkit/classes/TStringList.h"
#include "toolkit/core/CodePages.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/graphics/GraphicsObjects.h"

#include <gtest/gtest.h>

namespace {

class ReportBindings : public ::testing::Test
{
protected:
    void SetUp() override
    {
        report = std::make_unique<TqvxReport>();
        report->SetName(QStringLiteral("Report1"));
        report->EngineOptions()->SetNewSilentMode(simSilent);
        page = new TqvxReportPage(report.get());
        page->SetParent(report.get());
        page->SetName(QStringLiteral("Page1"));
        band = new TqvxMasterData(report.get());
        band->SetParent(page);
        band->SetName(QStringLiteral("MasterData1"));
        band->SetTop(20);
        memo = new TqvxMemoView(report.get());
        memo->SetParent(band);
        memo->SetName(QStringLiteral("Memo1"));
        memo->SetLeft(10);
    }

    // Prepares the report's script in language and runs its main block; the
    // failure is the compile error or the exception's class and message.
    ::testing::AssertionResult Run(const QString &language, const QString &text)
    {
        report->SetScriptLanguage(language);
        report->ScriptText()->SetText(text);
        if (!report->PrepareScript())
            return ::testing::AssertionFailure() << qPrintable(report->Errors()->Text());
        try {
            report->Script()->Execute();
        } catch (const Exception &e) {
            return ::testing::AssertionFailure() << qPrintable(e.ClassName() + QStringLiteral(": ") + e.Message());
        }
        return ::testing::AssertionSuccess();
    }
    ::testing::AssertionResult Run(const QString &text) { return Run(QStringLiteral("PascalScript"), text); }
    Variant Value(const QString &name) const
    {
        TzqCustomVariable *item = report->Script()->Find(name);
        EXPECT_TRUE(item) << qPrintable(name);
        return item ? item->GetValue() : Variant();
    }
    TRecordingEngine *engine() const { return static_cast<TRecordingEngine *>(report->Engine()); }
    TRecordingPreviewPages *pages() const { return static_cast<TRecordingPreviewPages *>(report->PreviewPages()); }

    TRecordingServicesScope services;
    std::unique_ptr<TqvxReport> report;
    TqvxReportPage *page = nullptr;
    TqvxMasterData *band = nullptr;
    TqvxMemoView *memo = nullptr;
};

TEST(qvxClassRTTI, EveryMemberIsServedAndAncestorsComeFirst)
{
    TzqScript script;
    script.AddRTTIModules();
    EXPECT_EQ(unserved(script), QStringList());
    const QList<std::pair<const char *, const char *>> ancestry{
        {"TqvxGlassFill", "TqvxCustomFill"},   {"TWideStrings", "TPersistent"},
        {"TqvxCustomDBDataSet", "TqvxDataSet"}, {"TqvxDMPMemoView", "TqvxCustomMemoView"},
        {"TqvxDMPLineView", "TqvxCustomLineView"}, {"TqvxDMPCommand", "TqvxView"},
        {"TqvxDataBand6", "TqvxDataBand"},      {"TqvxOverlay", "TqvxBand"},
        {"TqvxDMPPage", "TqvxReportPage"},      {"TqvxArray", "TCollection"},
        {"TqvxReport", "TqvxComponent"},        {"TqvxCustomOutline", "TPersistent"},
        {"TqvxCheckBoxView", "TqvxView"},
    };
    for (const auto &[name, ancestor] : ancestry) {
        TzqClassVariable *cls = script.FindClass(QLatin1String(name));
        ASSERT_TRUE(cls) << name;
        EXPECT_EQ(cls->Ancestor, QLatin1String(ancestor)) << name;
        EXPECT_TRUE(script.FindClass(cls->Ancestor)) << name;
    }
    EXPECT_EQ(script.FindClass(QStringLiteral("TqvxComponent"))->Find(QStringLiteral("AllObjects"))->TypeName,
              QStringLiteral("TList"));
}

TEST(qvxClassRTTI, NoReportObjectItsHolderFreesIsFreedByAScriptInAnyLanguage)
{
    TRecordingServicesScope services;
    TzqScript script;
    script.AddRTTIModules();
    const QHash<QString, QString> refused = freeEveryHeldObject(script);
    for (const char *property :
         {"TqvxMemoView.Font", "TqvxMemoView.Frame", "TqvxMemoView.Fill", "TqvxMemoView.Memo", "TqvxMemoView.Lines",
          "TqvxMemoView.Objects", "TqvxFrame.LeftLine", "TqvxPictureView.Picture", "TqvxReportPage.Frame",
          "TqvxMasterData.Fill", "TqvxReport.Variables", "TqvxReport.Styles", "TqvxReport.ScriptText",
          "TqvxReport.EngineOptions", "TqvxReport.ReportOptions"})
        EXPECT_EQ(refused.value(QLatin1String(property), QStringLiteral("not tried")), QStringLiteral("EInvalidOperation"))
            << property;
    // Collection items leave their collection, and the memo makes itself
    // new ones.
    for (const char *property : {"TqvxMemoView.Highlight", "TqvxMemoView.DisplayFormat"})
        EXPECT_EQ(refused.value(QLatin1String(property), QStringLiteral("not tried")), QString()) << property;
}

TEST(qvxClassRTTI, WideStringsNeedTheClassLibrary)
{
    TzqScript script;
    qvxClassRTTI::TFunctions module(&script);
    EXPECT_FALSE(script.FindClass(QStringLiteral("TWideStrings")));
    EXPECT_TRUE(script.FindClass(QStringLiteral("TqvxReport")));
}

TEST(qvxClassRTTI, TheUnitsEndTakesTheModulesOut)
{
    qvxChBoxRTTI::Finalize();
    qvxClassRTTI::Finalize();
    TzqScript without;
    without.AddRTTIModules();
    EXPECT_FALSE(without.FindClass(QStringLiteral("TqvxReport")));
    EXPECT_FALSE(without.FindClass(QStringLiteral("TqvxCheckBoxView")));
    EXPECT_TRUE(without.FindClass(QStringLiteral("TStringList")));
    qvxClassRTTI::Initialize();
    qvxChBoxRTTI::Initialize();
    TzqScript with;
    with.AddRTTIModules();
    EXPECT_TRUE(with.FindClass(QStringLiteral("TqvxCheckBoxView")));
}

TEST_F(ReportBindings, ConstantsAndEnumerationsByValue)
{
    ASSERT_TRUE(Run(QStringLiteral(R"(
var cm, cm10, inch, cellY, none, zoom, bottom, del, quick, cpi, glass, plus, minus, club: Variant;
begin
  cm := qv01cm; cm10 := qv1cm; inch := qv1in; cellY := qv1CharY; none := clTransparent; zoom := crZoom;
  bottom := ftBottom; del := rfDontDelete; quick := pbExportQuick; cpi := fsx15cpi; glass := ftGlass;
  plus := csPlus; minus := usMinus; club := baClient
end.
)")));
    EXPECT_DOUBLE_EQ(Value(QStringLiteral("cm")).AsDouble(), 3.77953);
    EXPECT_DOUBLE_EQ(Value(QStringLiteral("cm10")).AsDouble(), 37.7953);
    EXPECT_DOUBLE_EQ(Value(QStringLiteral("inch")).AsDouble(), 96);
    EXPECT_DOUBLE_EQ(Value(QStringLiteral("cellY")).AsDouble(), 17);
    EXPECT_EQ(Value(QStringLiteral("none")).AsInteger(), 0x1FFFFFFF);
    EXPECT_EQ(Value(QStringLiteral("zoom")).AsInteger(), 151);
    EXPECT_EQ(Value(QStringLiteral("bottom")).AsInteger(), 8);
    EXPECT_EQ(Value(QStringLiteral("del")).AsInteger(), 8);
    EXPECT_EQ(Value(QStringLiteral("quick")).AsInteger(), 4096);
    EXPECT_EQ(Value(QStringLiteral("cpi")).AsInteger(), 256);
    EXPECT_EQ(Value(QStringLiteral("glass")).AsInteger(), 2);
    EXPECT_EQ(Value(QStringLiteral("plus")).AsInteger(), 3);
    EXPECT_EQ(Value(QStringLiteral("minus")).AsInteger(), 3);
    EXPECT_EQ(Value(QStringLiteral("club")).AsInteger(), 6);
}

TEST_F(ReportBindings, ScriptsDriveMemosBandsAndComponents)
{
    ASSERT_TRUE(Run(QStringLiteral(R"(
var children, all, found, left, calc: Variant; lines: TWideStrings;
begin
  Memo1.Text := 'one' + #13#10 + 'two';
  Memo1.Font.Size := 14;
  MasterData1.Visible := False;
  Memo1.TagStr := 'tag';
  children := MasterData1.Objects.Count;
  all := Page1.AllObjects.Count;
  found := Page1.FindObject('memo1').Name;
  left := Memo1.AbsLeft + Memo1.AbsTop;
  lines := TWideStrings.Create;
  lines.Add('b'); lines.Insert(0, 'a');
  Memo1.Lines := lines;
  lines.Free;
  Memo1.SetBounds(1, 2, 30, 40);
  calc := Memo1.CalcHeight
end.
)")));
    EXPECT_EQ(memo->Font()->Size(), 14);
    EXPECT_FALSE(band->Visible());
    EXPECT_EQ(memo->TagStr(), QStringLiteral("tag"));
    EXPECT_EQ(Value(QStringLiteral("children")).AsInteger(), 1);
    EXPECT_EQ(Value(QStringLiteral("all")).AsInteger(), 2);
    EXPECT_EQ(Value(QStringLiteral("found")).AsString(), QStringLiteral("Memo1"));
    EXPECT_DOUBLE_EQ(Value(QStringLiteral("left")).AsDouble(), 30);
    EXPECT_EQ(memo->Text(), QStringLiteral("a\r\nb\r\n"));
    EXPECT_DOUBLE_EQ(memo->Width(), 30);
    ASSERT_TRUE(Run(QStringLiteral("begin Memo1.Parent := Page1 end.")));
    EXPECT_EQ(memo->Parent(), page);
}

// A memo's lines and a wide-string list keep the objects put beside them
// with their generation: one freed since is an invalid object, also when a
// string list made later lives at its address, and after the lines were
// copied to a string list.
TEST_F(ReportBindings, AFreedObjectKeptByWideStringsIsAnInvalidObject)
{
    ASSERT_TRUE(Run(QStringLiteral(R"(
var wide: TWideStrings; copied, sl, later: TStringList; i: Integer; seen: String;

procedure Probe(Index: Integer);
begin
  try seen := seen + TStringList(Memo1.Lines.Objects[Index]).Text except seen := seen + ExceptionClassName + ';' end;
  try seen := seen + TStringList(wide.Objects[Index]).Text except seen := seen + ExceptionClassName + ';' end;
  try seen := seen + TStringList(copied.Objects[Index]).Text except seen := seen + ExceptionClassName + ';' end
end;

begin
  wide := TWideStrings.Create; copied := TStringList.Create;
  for i := 1 to 20 do
  begin
    sl := TStringList.Create; sl.Text := 'freed';
    Memo1.Lines.AddObject('a', sl); wide.AddObject('a', sl);
    sl.Free;
    later := TStringList.Create; later.Text := 'second';
    copied.Assign(wide);
    Probe(i - 1);
    later.Free
  end;
  wide.Free; copied.Free
end.
)")));
    const QString seen = Value(QStringLiteral("seen")).AsString();
    EXPECT_FALSE(seen.contains(QStringLiteral("second"))) << qPrintable(seen);
    EXPECT_EQ(seen.count(QStringLiteral("EInvalidObject;")), 60) << qPrintable(seen);
}

TEST_F(ReportBindings, AReportScriptFreesNoPartOfTheReport)
{
    ASSERT_TRUE(Run(QStringLiteral(R"(
var fontFreed, variablesFreed, engineFreed, reportFreed, linesFreed: String;
begin
  try Memo1.Font.Free except fontFreed := ExceptionClassName end;
  try Report.Variables.Free except variablesFreed := ExceptionClassName end;
  try Engine.Free except engineFreed := ExceptionClassName end;
  try Report.Free except reportFreed := ExceptionClassName end;
  try Memo1.Lines.Free except linesFreed := ExceptionClassName end;
  Memo1.Font.Size := 14;
  Memo1.Lines.Text := 'kept'
end.
)")));
    for (const char *name : {"fontFreed", "variablesFreed", "engineFreed", "reportFreed", "linesFreed"})
        EXPECT_EQ(VarToStr(Value(QLatin1String(name))), QStringLiteral("EInvalidOperation")) << name;
    EXPECT_EQ(memo->Font()->Size(), 14);
    EXPECT_TRUE(memo->Text().startsWith(QStringLiteral("kept"))) << qPrintable(memo->Text());
}

TEST_F(ReportBindings, MemoBrushStyleIsPublished)
{
    ASSERT_TRUE(Run(QStringLiteral("begin Memo1.BrushStyle := bsBDiagonal end.")));
    EXPECT_EQ(memo->BrushStyle(), bsBDiagonal);
    ASSERT_TRUE(Run(QStringLiteral("var s: Integer; begin s := Memo1.BrushStyle end.")));
    EXPECT_EQ(Value(QStringLiteral("s")).AsInteger(), int(bsBDiagonal));
}

TEST_F(ReportBindings, TheOtherLanguagesReachTheSameMembers)
{
    const QList<std::pair<const char *, const char *>> programs{
        {"C++Script", "{ Memo1.Text = \"cpp\"; MasterData1.Visible = false; Engine.NewPage(); }"},
        {"BasicScript", "Memo1.Text = \"basic\"\nMasterData1.Visible = False\nEngine.NewPage\n"},
        {"JScript", "Memo1.Text = \"js\"; MasterData1.Visible = false; Engine.NewPage();"},
    };
    for (const auto &[language, text] : programs) {
        band->SetVisible(true);
        ASSERT_TRUE(Run(QLatin1String(language), QLatin1String(text))) << language;
        EXPECT_FALSE(band->Visible()) << language;
    }
    EXPECT_EQ(memo->Text(), QStringLiteral("js\r\n"));
    EXPECT_EQ(engine()->calls, (QStringList{"NewPage", "NewPage", "NewPage"}));
}

TEST_F(ReportBindings, TheEngineAndTheOutlineAnswerThroughTheirInterfaces)
{
    engine()->freeSpace = 123.5;
    engine()->SetCurY(10.5);
    ASSERT_TRUE(Run(QStringLiteral(R"(
var space, anchorPage: Variant;
begin
  Engine.ShowBand(MasterData1); Engine.NewColumn;
  space := Engine.FreeSpace;
  Engine.AddAnchor('top'); anchorPage := Engine.GetAnchorPage('top');
  Outline.AddItem('a'); Outline.LevelUp; Outline.LevelRoot
end.
)")));
    EXPECT_EQ(engine()->calls, (QStringList{"ShowBand", "NewColumn"}));
    EXPECT_DOUBLE_EQ(Value(QStringLiteral("space")).AsDouble(), 123.5);
    EXPECT_EQ(pages()->anchors, QStringList{"top"});
    EXPECT_EQ(Value(QStringLiteral("anchorPage")).AsInteger(), 1);
    engine()->SetCurY(11.5);
    ASSERT_TRUE(Run(QStringLiteral("begin Outline.AddItem('b'); Engine.StopReport end.")));
    EXPECT_EQ(static_cast<TRecordingOutline *>(pages()->Outline())->items,
              (QStringList{"a@10", "up", "root", "b@12"}));
    EXPECT_TRUE(report->Terminated());
    // A band is checked to be one.
    EXPECT_FALSE(Run(QStringLiteral("begin Engine.ShowBand(TqvxBand(Memo1)) end.")));
}

TEST_F(ReportBindings, ReportMembers)
{
    report->Variables()->SetVariable(QStringLiteral("Price"), QStringLiteral("2 * 21"));
    ASSERT_TRUE(Run(QStringLiteral(R"(
var calculated, missing: Variant;
begin
  calculated := Report.Calc('Price');
  missing := Report.LoadFromFile('no such file.fr3');
  Report.Variables['Made'] := 'Memo1'
end.
)")));
    EXPECT_EQ(Value(QStringLiteral("calculated")).AsInteger(), 42);
    EXPECT_FALSE(Value(QStringLiteral("missing")).AsBoolean());
    // Loading the missing file cleared the report.
    EXPECT_FALSE(report->FindObject(QStringLiteral("Memo1")));
    EXPECT_EQ(report->Variables()->GetVariable(QStringLiteral("Made")).AsString(), QStringLiteral("Memo1"));

    const ::testing::AssertionResult failed = Run(QStringLiteral("begin Report.Calc('1 +') end."));
    ASSERT_FALSE(failed);
    EXPECT_TRUE(QString::fromUtf8(failed.message()).contains(QStringLiteral("Error in Calc expression:"))) << failed.message();
    EXPECT_EQ(report->Errors()->Count(), 0);
}

TEST_F(ReportBindings, ClearingOrLoadingWhileTheEngineRunsIsRefused)
{
    engine()->SetRunning(true);
    EXPECT_FALSE(Run(QStringLiteral("begin MasterData1.Clear end.")));
    EXPECT_FALSE(Run(QStringLiteral("begin Report.LoadFromFile('x.fr3') end.")));
    EXPECT_EQ(band->Objects().size(), 1);
    engine()->SetRunning(false);
    ASSERT_TRUE(Run(QStringLiteral("begin MasterData1.Clear end.")));
    EXPECT_TRUE(band->Objects().isEmpty());
}

TEST_F(ReportBindings, VariablesArraysAndStyles)
{
    report->Styles()->Add()->SetName(QStringLiteral("Title"));
    qvxGlobalVariables()->Clear();
    ASSERT_TRUE(Run(QStringLiteral(R"(
var before, after, arr: Variant; a: TqvxArray; v: TqvxVariables; s: TqvxStyles; styleName, listed, made: Variant;
  names: TStringList;
begin
  before := qvxGlobalVariables['x'];
  qvxGlobalVariables['x'] := 5;
  after := qvxGlobalVariables['x'];
  a := TqvxArray.Create;
  a[1] := 'one'; a['1'] := 'uno'; arr := a[1];
  if a[2] = Null then arr := arr + '/null';
  a.Free;
  v := TqvxVariables.Create; v['k'] := 3; v.Free;
  s := TqvxStyles.Create(Report); s.Add; s.Add; made := s.Count; s.Free;
  s := Report.Styles;
  styleName := s[0].Name;
  s[0] := nil;
  names := TStringList.Create; s.GetList(names); listed := names.Text; names.Free
end.
)")));
    EXPECT_TRUE(Value(QStringLiteral("before")).IsNull());
    EXPECT_EQ(Value(QStringLiteral("after")).AsInteger(), 5);
    EXPECT_EQ(qvxGlobalVariables()->GetVariable(QStringLiteral("x")).AsInteger(), 5);
    EXPECT_EQ(Value(QStringLiteral("arr")).AsString(), QStringLiteral("uno/null"));
    EXPECT_EQ(Value(QStringLiteral("made")).AsInteger(), 2);
    EXPECT_EQ(Value(QStringLiteral("styleName")).AsString(), QStringLiteral("Title"));
    EXPECT_EQ(Value(QStringLiteral("listed")).AsString(), QStringLiteral("Title\r\n"));
    EXPECT_EQ(report->Styles()->Count(), 1);
    qvxGlobalVariables()->Clear();
}

TEST_F(ReportBindings, MemoTextTakesAnsiStringsInTheFontsCodePage)
{
    // "Б" is byte 0xC1 in the system code page, and 0xC1 is Greek Alpha.
    memo->Font()->SetCharset(GREEK_CHARSET);
    ASSERT_TRUE(Run(QStringLiteral("var back: Variant;\nbegin\n  Memo1.Text := 'Б';\n  back := Memo1.AnsiText\nend.")));
    EXPECT_EQ(memo->Text(), QStringLiteral("Α\r\n"));
    EXPECT_EQ(Value(QStringLiteral("back")).AsString(), QStringLiteral("Б\r\n"));
    // The text read back is a wide string: it is not converted again.
    ASSERT_TRUE(Run(QStringLiteral("var t: Variant;\nbegin\n  t := Memo1.Text;\n  Memo1.Text := t\nend.")));
    EXPECT_EQ(memo->Text(), QStringLiteral("Α\r\n"));
    memo->Font()->SetCharset(DEFAULT_CHARSET);
    ASSERT_TRUE(Run(QStringLiteral("begin Memo1.Text := 'Б' end.")));
    EXPECT_EQ(memo->Text(), QStringLiteral("Б\r\n"));
}

TEST_F(ReportBindings, DotMatrixObjectsAndPictures)
{
    auto *dmpPage = new TqvxDMPPage(report.get());
    dmpPage->SetParent(report.get());
    dmpPage->SetName(QStringLiteral("DMPPage1"));
    auto *dmpMemo = new TqvxDMPMemoView(report.get());
    dmpMemo->SetParent(dmpPage);
    dmpMemo->SetName(QStringLiteral("DMPMemo1"));
    auto *picture = new TqvxPictureView(report.get());
    picture->SetParent(band);
    picture->SetName(QStringLiteral("Picture1"));
    ASSERT_TRUE(Run(QStringLiteral(R"(
begin
  DMPPage1.FontStyle := fsxBold + fsxCondensed;
  DMPMemo1.Left := 15;
  DMPMemo1.Text := 'dot'
end.
)")));
    EXPECT_DOUBLE_EQ(dmpMemo->Left(), 19.2);
    EXPECT_TRUE(dmpMemo->Font()->Style().testFlag(fsBold));
    EXPECT_EQ(dmpMemo->Font()->Name(), QStringLiteral("Courier New"));
    EXPECT_EQ(dmpMemo->Text(), QStringLiteral("dot\r\n"));
    const ::testing::AssertionResult unknown = Run(QStringLiteral("begin Picture1.LoadFromFile('a.unknown') end."));
    ASSERT_FALSE(unknown);
    EXPECT_TRUE(QString::fromUtf8(unknown.message()).startsWith(QStringLiteral("EInvalidGraphic"))) << unknown.message();
}

TEST_F(ReportBindings, PreviewButtonsKeepTheirMeaningBothWays)
{
    report->PreviewOptions()->SetButtons(pbTools | pbOutline | pbNoClose);
    ASSERT_TRUE(Run(QStringLiteral(R"(
var read: Variant;
begin
  read := Report.PreviewOptions.Buttons;
  Report.PreviewOptions.Buttons := pbExportQuick + pbTree + pbRefresh
end.
)")));
    EXPECT_EQ(Value(QStringLiteral("read")).AsInteger(), 512 + 64);
    EXPECT_EQ(report->PreviewOptions()->Buttons(), pbExportQuick | pbOutline | pbNoClose);
}

TEST_F(ReportBindings, DataSetMembers)
{
    auto *data = new TqvxUserDataSet(report.get());
    data->SetName(QStringLiteral("Numbers"));
    data->SetUserName(QStringLiteral("Numbers"));
    data->SetRangeEnd(reCount);
    data->SetRangeEndCount(3);
    data->Fields()->SetText(QStringLiteral("N"));
    data->SetOnGetValue([data](const QString &, Variant &value) { value = data->RecNo() * 10; });
    report->DataSets()->Add()->SetDataSet(data);
    ASSERT_TRUE(Run(QStringLiteral(R"(
var total, has, records: Variant; ds: TqvxDataSet;
begin
  ds := Report.GetDataset('numbers');
  total := 0; ds.First;
  while not ds.Eof do begin total := total + ds.Value['N']; ds.Next end;
  has := ds.HasField('n') and not ds.HasField('m');
  records := ds.RecordCount
end.
)")));
    EXPECT_EQ(Value(QStringLiteral("total")).AsInteger(), 30);
    EXPECT_TRUE(Value(QStringLiteral("has")).AsBoolean());
    EXPECT_EQ(Value(QStringLiteral("records")).AsInteger(), 3);
}

TEST_F(ReportBindings, DateFunctionsAndMacroNames)
{
    ASSERT_TRUE(Run(QStringLiteral(R"(
var d, m, y, chosen: Variant;
begin
  d := DayOf(EncodeDate(2024, 2, 29)); m := MonthOf(EncodeDate(2024, 2, 29)); y := YearOf(EncodeDate(2024, 2, 29));
  chosen := IIF(True, 1, 2)
end.
)")));
    EXPECT_EQ(Value(QStringLiteral("d")).AsInteger(), 29);
    EXPECT_EQ(Value(QStringLiteral("m")).AsInteger(), 2);
    EXPECT_EQ(Value(QStringLiteral("y")).AsInteger(), 2024);
    // The report's own IIF, registered later, is found first.
    EXPECT_EQ(Value(QStringLiteral("chosen")).AsInteger(), 1);

    // The module's IIF alone answers 0.
    TzqScript bare;
    bare.AddRTTIModules();
    bare.Lines()->SetText(QStringLiteral("var r: Variant;\nbegin\n  r := IIF(True, 1, 2)\nend."));
    ASSERT_TRUE(bare.Compile()) << qPrintable(bare.ErrorMsg);
    bare.Execute();
    EXPECT_EQ(bare.Find(QStringLiteral("r"))->GetValue().AsInteger(), 0);
}

} // namespace
