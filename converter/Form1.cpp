#include "converter/Form1.h"

#include <string_view>
#include <utility>

#include "converter/AboutFormUMRA.h"
#include "converter/PontraTexts.h"
#include "converter/TextHandle.h"
#include "platform/BinaryFile.h"
#include "platform/FileSystem.h"
#include "platform/ShortString.h"
#include "platform/UiService.h"

namespace {

// OpenFile's result for a shapefile it cannot open.
constexpr std::int32_t kShapeFileMissing = 255;

// The open dialog's default extensions: the design's for maps, and shapefiles' own.
constexpr const char* kMapExtension = "MAP";
constexpr const char* kShapeExtension = "shp";

// The toolbar's 60 x 60 pictures in button order, by the names the window back end gives the
// pictures it carries: as drawn (variant "") and under the mouse ("-hot").
platform::ImageList ToolbarPictures(std::string_view variant) {
    platform::ImageList list{60, 60, {}};
    for (const char* name : {"shp-to-map", "map-to-shp", "settings", "information", "close"})
        list.Pictures.push_back(std::string(name).append(variant));
    return list;
}

}  // namespace

TForm1::TForm1(const ServerLibrary& library, std::vector<std::string> parameters,
               std::string messageCaption)
    : Form(pontratexts::MainCaption()),
      ToolButton1(pontratexts::HintShpToMap(), 0),
      ToolButton2(pontratexts::HintMapToShp(), 1),
      ToolButton3(pontratexts::HintSettings(), 2),
      ToolButton5(pontratexts::HintInformation(), 3),
      ToolButton4({}, 4),
      ImageList1(ToolbarPictures("")),
      ImageList2(ToolbarPictures("-hot")),
      N1(pontratexts::MenuAbout()),
      library_(library),
      parameters_(std::move(parameters)),
      messageCaption_(std::move(messageCaption)) {
    ClientWidth = kClientWidth;
    ClientHeight = kClientHeight;
    Border = platform::BorderStyle::bsToolWindow;
    BorderIcons = platform::biMinimize;
    Position = platform::FormPosition::poDefault;
    HelpContext = kHelpContext;

    for (platform::ToolButton* button :
         {&ToolButton1, &ToolButton2, &ToolButton3, &ToolButton5, &ToolButton4})
        ToolBar1.AddButton(*button);
    ToolBar1.ButtonWidth = kButtonWidth;
    ToolBar1.ButtonHeight = kButtonHeight;
    ToolBar1.Images = &ImageList1;
    ToolBar1.HotImages = &ImageList2;
    ToolButton1.OnClick = [this] { Button2Click(); };
    ToolButton2.OnClick = [this] { Button1Click(); };
    ToolButton3.OnClick = [this] { ToolButton5Click(); };
    ToolButton5.OnClick = [this] { ToolButton5Click(); };
    ToolButton5.DropdownMenu = &PopupMenu1;
    ToolButton4.OnClick = [this] { ToolButton4Click(); };
    PopupMenu1.Add(N1);
    N1.OnClick = [this] { N1Click(); };

    OpenDialog1.DefaultExt = kMapExtension;
    OpenDialog1.Options = platform::ofAllowMultiSelect | platform::ofPathMustExist |
                          platform::ofFileMustExist | platform::ofEnableSizing;
    SaveDialog1.DefaultExt = "map";
    SaveDialog1.Options =
        platform::ofOverwritePrompt | platform::ofHideReadOnly | platform::ofPathMustExist;
}

// Destroys a server object still held (only when a handler was left by an exception), while the
// library that made it is still loaded.
TForm1::~TForm1() = default;

void TForm1::FormCreate() {
    server_.reset();
    versionText_ = pontratexts::VersionText();
    ToolButton1.Enabled = true;
    ToolButton2.Enabled = true;
    batchDone_ = false;

    // The conversion test follows every parameter, so several jobs can be given on one command
    // line (a later "MAP=" converts the next file). A parameter that leaves the job as it was
    // converted (a repeated or an unrelated parameter) does not convert the same files again.
    BatchValues values;
    BatchValues lastJob;
    batchFailed_ = false;
    for (const std::string& parameter : parameters_) {
        TakeBatchParameter(parameter, values);
        const BatchAction action = ReadyBatchAction(values);
        if (action == BatchAction::None) continue;
        BatchValues job = BatchJob(values);
        if (job == lastJob) continue;
        lastJob = std::move(job);
        if (!RunBatch(action, values)) batchFailed_ = true;
    }
    batchValues_ = values;
    // An action the batch mode does not know is said once, whatever else was given.
    unknownAction_ = !batchDone_ && !values.Action.empty() && values.Action != "MAP2SHP" &&
                     values.Action != "SHP2MAP";
    if (unknownAction_) ShowBatchMessage(pontratexts::UnknownAction() + values.Action);
}

bool TForm1::RunBatch(BatchAction action, const BatchValues& values) {
    batchDone_ = true;
    // The library holds names of a short string; a longer one is refused before anything runs.
    const BatchValues job = BatchJob(values);
    for (const std::string* name : {&job.Map, &job.Shp, &job.Cfg, &job.ShpDir})
        if (!platform::NameFits(*name)) return false;
    server_.reset(library_.CallNewKWZObject());
    if (!server_) {
        ShowCreateError();
        return false;
    }
    // Without its file the configuration gives the defaults; the conversion runs all the same.
    // Anything else in the file's place (a folder, a device, a pipe) the library refuses and says.
    if (platform::KindOfFile(values.Cfg) == platform::FileKind::Missing)
        ShowBatchMessage(pontratexts::MissingConfigFile() + values.Cfg);
    bool written = false;
    if (action == BatchAction::MapToShp) {
        // A map that cannot be read has been reported by the reader.
        if (server_->LoadMap(ArgumentHandle(values.Map).get())) {
            server_->SetBatchConfig(ArgumentHandle(values.Cfg).get(),
                                    ArgumentHandle(values.ShpDir).get(), 0, 0);
            written = server_->ExportMap();
        }
    } else {
        // The loader reports a file it cannot read or that is no regular file, but not one that
        // is not there.
        const std::int32_t opened = server_->OpenFile(ArgumentHandle(values.Shp).get());
        if (opened == kShapeFileMissing &&
            platform::KindOfFile(values.Shp) == platform::FileKind::Missing)
            ShowBatchMessage(pontratexts::MissingShapeFile() + values.Shp);
        if (opened == 0) {
            server_->SetBatchConfig(ArgumentHandle(values.Cfg).get(), 0, 0, 0);
            written = server_->SaveAsMap(ArgumentHandle(values.Map).get(), 0);
        }
    }
    DestroyServer();
    return written;
}

void TForm1::ShowBatchMessage(const std::string& text) const {
    platform::MessageBox(0, text, messageCaption_, platform::MB_OK);
}

void TForm1::FormShow() {
    // After a command-line conversion the program ends without waiting for a user.
    if (batchDone_) Close();
}

bool TForm1::CreateServer() {
    DestroyServer();
    server_.reset(library_.CallNewKWZObject());
    if (server_) return true;
    ShowCreateError();
    return false;
}

void TForm1::ShowCreateError() const {
    // Without its library the box also says which files were looked for, or why one would not load.
    std::string text = pontratexts::ServerCreateError();
    if (!library_.LoadError().empty()) text += "\n" + library_.LoadError();
    platform::MessageBox(0, text, messageCaption_, platform::MB_OK);
}

std::vector<std::string> TForm1::ChosenFiles() const {
    if (!OpenDialog1.Files.empty()) return OpenDialog1.Files;
    if (!OpenDialog1.FileName.empty()) return {OpenDialog1.FileName};
    return {};
}

bool TForm1::ChooseFiles(const std::string& filter, const char* defaultExt) {
    // Each action offers its own kind of file: nothing chosen for another action is offered
    // again, and a name typed without extension gets this action's one.
    OpenDialog1.Filter = filter;
    OpenDialog1.FilterIndex = 1;
    OpenDialog1.DefaultExt = defaultExt;
    OpenDialog1.FileName.clear();
    OpenDialog1.Files.clear();
    return OpenDialog1.Execute();
}

void TForm1::Button1Click() {
    if (!CreateServer()) return;
    if (ChooseFiles(pontratexts::MapFilter(), kMapExtension)) {
        const std::vector<std::string> files = ChosenFiles();
        if (files.size() == 1) {
            server_->LoadMap(ArgumentHandle(files.front()).get());
            server_->ExportMap();
        } else {
            // Several maps: each goes into a folder named after it.
            for (const std::string& file : files) {
                server_->LoadMap(ArgumentHandle(file).get());
                server_->SetOutputFolder();
                server_->ExportMap();
            }
        }
    }
    DestroyServer();
}

void TForm1::Button2Click() {
    DestroyServer();
    if (!ChooseFiles(GlobalHandleToStr(library_.CallGetMask()), kShapeExtension)) return;
    for (const std::string& file : ChosenFiles()) {
        server_.reset(library_.CallNewKWZObject());
        if (!server_) {
            ShowCreateError();
            continue;
        }
        server_->OpenFile(ArgumentHandle(file).get());
        SaveDialog1.Filter = pontratexts::MapFilter();
        SaveDialog1.FileName = platform::ChangeFileExt(file, ".map");
        server_->SaveAsMap(ArgumentHandle(SaveDialog1.FileName).get(), 0);
        DestroyServer();
    }
}

void TForm1::ToolButton5Click() {
    if (CreateServer()) server_->ConfigureConversion();
    DestroyServer();
}

void TForm1::N1Click() {
    if (AboutFormUMRA) AboutFormUMRA->ShowModal();
}

void TForm1::ToolButton4Click() {
    Close();
}

void TForm1::Button3Click() {
    Close();
}
