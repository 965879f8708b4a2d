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

QString UntitledBoxCaption() {
    return QString::fromUtf8("Błąd");
}

QString NoDisplay() {
    return QString::fromUtf8(
        "brak ekranu: ani DISPLAY, ani WAYLAND_DISPLAY nie wskazuje ekranu dostępnego dla Qt");
}

QString DisplayUnreachable() {
    return QString::fromUtf8("nie można otworzyć ekranu ");
}

}  // namespace platform::qt::texts
