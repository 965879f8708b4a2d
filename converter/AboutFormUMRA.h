#pragma once

#include "platform/Controls.h"
#include "platform/Form.h"

class TForm1;

// The converter's about box: the program's name and the version text of the main window.
class TAboutFormUMRA : public platform::Form {
  public:
    // Design values: dialog border without border icons, centred on the screen, client area
    // 312 x 151; the panel has a raised inner and a lowered outer bevel.
    static constexpr int kClientWidth = 312;
    static constexpr int kClientHeight = 151;

    // `mainWindow` gives the version text and must outlive the box.
    explicit TAboutFormUMRA(const TForm1& mainWindow);

    platform::Panel Panel1;
    platform::Label progname;
    platform::Label wersja;
    platform::Button Button1;

    platform::LayoutItem DescribeControls() override;

  protected:
    void FormCreate() override;

  private:
    const TForm1& mainWindow_;
};
