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

}  // namespace platform::qt::texts
