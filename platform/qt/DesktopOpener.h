#pragma once

#include <QString>
#include <QStringList>
#include <chrono>

// Hands a file to the desktop's opener program (xdg-open), which finds the program that shows it.
namespace platform::qt {

enum class OpenerResult {
    Opened,      // the opener ended well, or still runs after the wait (it runs the browser)
    Failed,      // the opener ended with an error: nothing on this machine shows the file
    NotStarted,  // there is no such program
};

// Runs `program` with `arguments` and waits at most `wait` for its verdict, letting the screen
// repaint but taking no input meanwhile. An opener still running then is left to end by itself.
OpenerResult RunOpener(const QString& program, const QStringList& arguments,
                       std::chrono::milliseconds wait);

}  // namespace platform::qt
