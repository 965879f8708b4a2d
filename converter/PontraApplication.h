#pragma once

#include <memory>
#include <string>
#include <vector>

#include "converter/AboutFormUMRA.h"
#include "converter/Form1.h"
#include "converter/ServerLibrary.h"

// The converter program as one object: the library binding made first, the application's title
// and help file, the main window and the about box. Destruction runs in reverse: the windows go
// before the library is freed.
//
// There is no help engine here: F1 in the window opens the help file's HTML page, which is
// installed beside the program (platform/Help.h).
class PontraApplication {
  public:
    // Binds the plug-in library (`libraryName`, normally lib32\Kestrel.dll), sets the title and
    // help file, and creates the main window, whose creation handler runs the batch mode over
    // `parameters`, then the about box.
    PontraApplication(std::vector<std::string> parameters,
                      std::string_view libraryName = ServerLibrary::kLibraryName);

    // Runs the main window until it closes. Headless, nobody can act on it: after the creation
    // handler and the first showing the program goes on to its end.
    void Run();

    std::string Title;
    std::string HelpFile;

    const ServerLibrary& Library() const { return library_; }
    TForm1& Form1() { return *form1_; }
    TAboutFormUMRA& AboutFormUMRA() { return *about_; }

  private:
    ServerLibrary library_;
    std::unique_ptr<TForm1> form1_;
    std::unique_ptr<TAboutFormUMRA> about_;
};

// Exit statuses of the program.
inline constexpr int kExitDone = 0;        // the conversions finished and wrote what they should
inline constexpr int kExitFailed = 1;      // a conversion failed or wrote nothing
inline constexpr int kExitIncomplete = 2;  // the command line names no whole conversion

// The program's main block: everything from choosing the user interface and binding the library
// to freeing them. `arguments` are the program's arguments without its own name, in UTF-8; each
// becomes Windows-1250 once, and one that holds a character the code page lacks ends the program
// with a message and status 2. "-h" and "--help" print the usage text (on standard output) and end
// with 0; a command line that names no whole conversion, when no window can be shown, prints it
// and ends with 2. Otherwise the status is 0, or 1 when a batch conversion failed or wrote
// nothing.
int PontraMain(std::vector<std::string> arguments);
