#include "toolkit/widgets/ControlClasses.h"

#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/widgets/CommonDialogs.h"
#include "toolkit/widgets/TApplication.h"
#include "toolkit/widgets/TBitBtn.h"
#include "toolkit/widgets/TCheckBox.h"
#include "toolkit/widgets/TComboBox.h"
#include "toolkit/widgets/TCustomEdit.h"
#include "toolkit/widgets/TForm.h"
#include "toolkit/widgets/TGraphicControl.h"
#include "toolkit/widgets/TGroupBox.h"
#include "toolkit/widgets/THintWindow.h"
#include "toolkit/widgets/TImage.h"
#include "toolkit/widgets/TLabel.h"
#include "toolkit/widgets/TListBox.h"
#include "toolkit/widgets/TMemo.h"
#include "toolkit/widgets/TPanel.h"
#include "toolkit/widgets/TRadioButton.h"
#include "toolkit/widgets/TScreen.h"
#include "toolkit/widgets/TScrollBox.h"
#include "toolkit/widgets/TSpinEdit.h"
#include "toolkit/widgets/TStaticText.h"
#include "toolkit/classes/TTimer.h"
#include "toolkit/classes/PropertyDeclarations.h"
#include "toolkit/classes/Reflection.h"

void InitializeControlClasses()
{
    RegisterMethodType<TMouseEvent>();
    RegisterMethodType<TMouseMoveEvent>();
    RegisterMethodType<TCanResizeEvent>();
    RegisterMethodType<TKeyEvent>();
    RegisterMethodType<TKeyPressEvent>();
    RegisterMethodType<TCloseEvent>();
    RegisterMethodType<TCloseQueryEvent>();

    RegisterClass<TControl>();
    DescribeProperties<TControl>()
        .TypeName("Color", QStringLiteral("TColor"))
        .TypeName("Cursor", QStringLiteral("TCursor"));
    RegisterClass<TWinControl>();
    RegisterClass<TCustomControl>();
    RegisterClass<TGraphicControl>();
    RegisterClass<TGroupBox>();
    RegisterClass<TLabel>();
    RegisterClass<TCustomEdit>();
    RegisterClass<TEdit>();
    RegisterClass<TCustomMaskEdit>();
    RegisterClass<TMemo>();
    RegisterClass<TCustomComboBox>();
    RegisterClass<TComboBox>();
    RegisterClass<TButton>();
    DescribeProperties<TButton>().TypeName("ModalResult", QStringLiteral("TModalResult"));
    RegisterClass<TBitBtn>();
    RegisterClass<TCheckBox>();
    RegisterClass<TRadioButton>();
    RegisterClass<TCustomListBox>();
    RegisterClass<TListBox>();
    RegisterClass<TPanel>();
    RegisterClass<TControlScrollBar>();
    RegisterClass<TScrollingWinControl>();
    RegisterClass<TScrollBox>();
    RegisterClass<TStaticText>();
    RegisterClass<TSpinEdit>();
    RegisterClass<TImage>();
    RegisterClass<THintWindow>();
    RegisterClass<TCustomForm>();
    RegisterClass<TForm>();
    RegisterClass<TTimer>();
    RegisterClass<TApplication>();
    RegisterClass<TScreen>();
    RegisterClass<TCommonDialog>();
    RegisterClass<TOpenDialog>();
    RegisterClass<TSaveDialog>();
    RegisterClass<TColorDialog>();
    RegisterClass<TFontDialog>();
    RegisterClass<TPrintDialog>();
    RegisterClass<TPrinterSetupDialog>();
}
