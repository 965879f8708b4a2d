#pragma once

#include <QString>

// The window back end's own texts, as the screen shows them.
namespace platform::qt::texts {

QString ButtonOk();
QString ButtonCancel();
QString ButtonAbort();
QString ButtonRetry();
QString ButtonIgnore();
QString ButtonYes();
QString ButtonNo();

// The title of a message box that has no caption of its own.
QString UntitledBoxCaption();

// Why the back end cannot start: no display named, or the one named does not answer (followed
// by its name).
QString NoDisplay();
QString DisplayUnreachable();

}  // namespace platform::qt::texts
