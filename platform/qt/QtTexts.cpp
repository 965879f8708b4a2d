#include "platform/qt/QtTexts.h"

namespace platform::qt::texts {

QString ButtonOk() {
    return QStringLiteral("OK");
}

QString ButtonCancel() {
    return QStringLiteral("Anuluj");
}

QString ButtonAbort() {
    return QStringLiteral("Przerwij");
}

QString ButtonRetry() {
    return QString::fromUtf8("Ponów próbę");
}

QString ButtonIgnore() {
    return QStringLiteral("Ignoruj");
}

QString ButtonYes() {
    return QStringLiteral("Tak");
}

QString ButtonNo() {
    return QStringLiteral("Nie");
}

}  // namespace platform::qt::texts
