#include "toolkit/ControlClasses.h"

#include "toolkit/ClassRegistry.h"
#include "toolkit/CommonDialogs.h"
#include "toolkit/TApplication.h"
#include "toolkit/TBitBtn.h"
#include "toolkit/TCheckBox.h"
#include "toolkit/TComboBox.h"
#include "toolkit/TCustomEdit.h"
#include "toolkit/TForm.h"
#include "toolkit/TGroupBox.h"
#include "toolkit/THintWindow.h"
#include "toolkit/TImage.h"
#include "toolkit/TLabel.h"
#include "toolkit/TListBox.h"
#include "toolkit/TMemo.h"
#include "toolkit/TPanel.h"
#include "toolkit/TScreen.h"
#include "toolkit/TSpinEdit.h"
#include "toolkit/TStaticText.h"
#include "toolkit/TTimer.h"
#include "toolkit/TypInfo.h"

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
    RegisterClass<TWinControl>();
    RegisterClass<TCustomControl>();
    RegisterClass<TGroupBox>();
    RegisterClass<TLabel>();
    RegisterClass<TCustomEdit>();
    RegisterClass<TEdit>();
    RegisterClass<TCustomMaskEdit>();
    RegisterClass<TMemo>();
    RegisterClass<TCustomComboBox>();
    RegisterClass<TComboBox>();
    RegisterClass<TButton>();
    RegisterClass<TBitBtn>();
    RegisterClass<TCheckBox>();
    RegisterClass<TCustomListBox>();
    RegisterClass<TListBox>();
    RegisterClass<TPanel>();
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
}
