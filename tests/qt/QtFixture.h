#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "platform/qt/FormWindow.h"
#include "platform/qt/QtUi.h"
#include "plugin/SettingsUnits.h"
#include "tests/platform/ScratchFolder.h"

// The window back end every test of this folder runs on, installed by main.cpp.
platform::qt::QtUi& Ui();

inline platform::qt::QtForms& Forms() {
    return Ui().TheForms();
}

// Waits, inside whatever loop is running, until `find` finds something, then runs `act` on it.
// Gives up after ten seconds, which fails the test.
template <class T>
void WhenFound(const std::function<T*()>& find, const std::function<void(T&)>& act,
               const std::function<void()>& show) {
    bool found = false;
    QTimer timer;
    QElapsedTimer clock;
    clock.start();
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (T* target = find()) {
            timer.stop();
            found = true;
            act(*target);
        } else if (clock.elapsed() > 10000) {
            timer.stop();
            for (platform::qt::FormWindow* window : Forms().Windows())
                window->TheForm().AbortModal();
            for (platform::qt::FormWindow* window : Forms().Windows()) window->Finish();
        }
    });
    timer.start(5);
    show();
    timer.stop();
    EXPECT_TRUE(found) << "nothing to act on appeared";
}

// Runs `show`, which shows a form of class F and returns when it has closed, and acts on the
// form's window once it is on the screen; `act` must end the showing.
template <class F>
void WhileShown(const std::function<void()>& show,
                const std::function<void(platform::qt::FormWindow&, F&)>& act) {
    WhenFound<platform::qt::FormWindow>(
        []() -> platform::qt::FormWindow* {
            const auto& windows = Forms().Windows();
            for (auto it = windows.rbegin(); it != windows.rend(); ++it)
                if ((*it)->isVisible() && dynamic_cast<F*>(&(*it)->TheForm())) return *it;
            return nullptr;
        },
        [&act](platform::qt::FormWindow& window) {
            act(window, dynamic_cast<F&>(window.TheForm()));
        },
        show);
}

// The widget that shows a control, as the widget class it must be.
template <class W>
W* WidgetOf(const platform::qt::FormWindow& window, const platform::Control& control) {
    auto* widget = qobject_cast<W*>(window.WidgetOf(control));
    EXPECT_NE(widget, nullptr);
    return widget;
}

// Every text a person sees in the window: title, labels, buttons, group titles, tabs, list and
// combo items, edits; accelerator marks dropped.
inline QStringList ScreenTexts(const QWidget& window) {
    QStringList texts{window.windowTitle()};
    for (const QLabel* label : window.findChildren<QLabel*>()) texts << label->text();
    for (const QAbstractButton* button : window.findChildren<QAbstractButton*>())
        texts << button->text() << button->toolTip();
    for (const QGroupBox* box : window.findChildren<QGroupBox*>()) texts << box->title();
    for (const QTabWidget* tabs : window.findChildren<QTabWidget*>())
        for (int i = 0; i < tabs->count(); ++i) texts << tabs->tabText(i);
    for (const QListWidget* list : window.findChildren<QListWidget*>())
        for (int i = 0; i < list->count(); ++i) texts << list->item(i)->text();
    for (const QComboBox* combo : window.findChildren<QComboBox*>())
        for (int i = 0; i < combo->count(); ++i) texts << combo->itemText(i);
    for (const QLineEdit* edit : window.findChildren<QLineEdit*>()) texts << edit->text();
    texts.replaceInStrings(QStringLiteral("&"), QString());
    return texts;
}

// Saves what the widget shows as <build>/tests/qt-shots/<name>.png for a person to look at.
inline void SaveShot(QWidget& widget, const std::string& name) {
    std::filesystem::create_directories(KESTREL_SHOTS_DIR);
    EXPECT_TRUE(widget.grab().save(
        QString::fromStdString(std::string(KESTREL_SHOTS_DIR) + "/" + name + ".png")));
}

// Each test gets a registry file of its own in a fresh folder, and the library's settings as
// loading the library leaves them.
class QtTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ::setenv("KESTREL_REGISTRY_FILE", folder_.Path("registry.reg").c_str(), 1);
        InitializeSettingsUnits();
    }
    void TearDown() override {
        FinalizeSettingsUnits();
        ::unsetenv("KESTREL_REGISTRY_FILE");
    }

    std::filesystem::path Folder() const { return folder_.Path(); }
    std::string Registry() const { return ReadBytes(folder_.Path("registry.reg")); }

  private:
    ScratchFolder folder_;
};
