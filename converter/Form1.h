#pragma once

#include <memory>
#include <string>
#include <vector>

#include "converter/BatchParameters.h"
#include "converter/ServerLibrary.h"
#include "platform/Controls.h"
#include "platform/FileDialog.h"
#include "platform/Form.h"

class TAboutFormUMRA;

// The converter's main window: one toolbar row offering SHP -> MAP, MAP -> SHP, the conversion
// settings, the about box and closing. It has no conversion logic of its own: each action
// creates a server object of the plug-in library, calls its operations by place and destroys the
// object again. Its creation handler runs the command-line batch mode, which looks at the
// operations' results so that a script learns whether the conversion wrote what it should.
class TForm1 : public platform::Form {
  public:
    // Design values of the window: tool-window border, only the minimise icon, client area
    // 347 x 70, help topic 1 of the application's help file. The toolbar fills the window; its
    // buttons are 67 x 66 and take pictures 0 to 4 of two 60 x 60 image lists.
    static constexpr int kClientWidth = 347;
    static constexpr int kClientHeight = 70;
    static constexpr int kButtonWidth = 67;
    static constexpr int kButtonHeight = 66;
    static constexpr int kHelpContext = 1;

    // `library` must outlive the window; `parameters` are the program's command-line arguments
    // (Windows-1250 bytes), read by the creation handler; `messageCaption` titles the message
    // boxes (the application's title).
    TForm1(const ServerLibrary& library, std::vector<std::string> parameters,
           std::string messageCaption);
    ~TForm1() override;

    platform::ToolBar ToolBar1;
    platform::ToolButton ToolButton1;  // SHP -> MAP
    platform::ToolButton ToolButton2;  // MAP -> SHP
    platform::ToolButton ToolButton3;  // conversion settings
    platform::ToolButton ToolButton5;  // information: drops PopupMenu1, then the settings
    platform::ToolButton ToolButton4;  // close
    platform::ImageList ImageList1;    // the buttons' pictures
    platform::ImageList ImageList2;    // under the mouse
    platform::PopupMenu PopupMenu1;
    platform::MenuItem N1;
    platform::OpenDialog OpenDialog1;
    platform::SaveDialog SaveDialog1;

    // The about box the menu item shows; set by the application once it is created.
    TAboutFormUMRA* AboutFormUMRA = nullptr;

    // Handlers, as the controls call them.
    void Button1Click();      // MAP -> SHP
    void Button2Click();      // SHP -> MAP
    void ToolButton5Click();  // conversion settings
    void N1Click();           // about box
    void ToolButton4Click();  // close
    void Button3Click();      // double click on the window: close

    platform::LayoutItem DescribeControls() override { return ToolBar1; }

    const TKWZPrototyp* FServer() const { return server_.get(); }
    bool FBatchDone() const { return batchDone_; }
    // True when a command-line conversion failed or wrote nothing (each failure was shown).
    bool FBatchFailed() const { return batchFailed_; }
    // True when the command line named an action the batch mode does not know (it was shown).
    bool FUnknownAction() const { return unknownAction_; }
    // The batch values the parameters gave, as the last parameter left them.
    const BatchValues& FBatchValues() const { return batchValues_; }
    const std::string& FVersionText() const { return versionText_; }

  protected:
    void FormCreate() override;
    void FormShow() override;
    void FormDblClick() override { Button3Click(); }

  private:
    // A new server object in server_ (the old one destroyed first); false, after the error box,
    // when the library gives none.
    bool CreateServer();
    void DestroyServer() { server_.reset(); }
    void ShowCreateError() const;
    // Shows OpenDialog1 afresh for one action's files; true when the user confirmed.
    bool ChooseFiles(const std::string& filter, const char* defaultExt);
    // The names confirmed in OpenDialog1, in the dialog's order.
    std::vector<std::string> ChosenFiles() const;
    // Runs one conversion; false when it failed or wrote nothing.
    bool RunBatch(BatchAction action, const BatchValues& values);
    void ShowBatchMessage(const std::string& text) const;

    const ServerLibrary& library_;
    std::vector<std::string> parameters_;
    std::string messageCaption_;
    std::unique_ptr<TKWZPrototyp> server_;
    bool batchDone_ = false;
    bool batchFailed_ = false;
    bool unknownAction_ = false;
    BatchValues batchValues_;
    std::string versionText_;
};
