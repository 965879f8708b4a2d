#include "platform/Form.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "HeadlessFormsFixture.h"
#include "platform/Controls.h"
#include "platform/Cp1250.h"
#include "platform/FormBackend.h"

using namespace platform;

namespace {

// A small dialog in the shape the system's dialogs take: controls as members, handlers bound in
// the constructor, hooks overridden. It refuses to close while Lock is ticked and OK is meant.
class TestDialog : public Form {
  public:
    TestDialog() : Form(Utf8ToCp1250("Próba")) {
        Option.OnClick = [this] { log.push_back("option"); };
        Ok.Default = true;
        Abort.Cancel = true;
        Ok.OnClick = [this] { log.push_back("ok"); };
    }

    CheckBox Option{"Opcja"};
    CheckBox Lock{"Blokada"};
    RadioGroup Kind{"Rodzaj", {"Point", "Arc"}};
    Button Ok{*this, "OK", mrOk};
    Button Abort{*this, "Anuluj", mrCancel};
    CloseAction closeAction = CloseAction::caHide;
    std::vector<std::string> log;

  protected:
    void FormCreate() override {
        log.push_back("create");
        Kind.SetItemIndex(0);
    }
    void FormShow() override { log.push_back("show"); }
    void FormCloseQuery(bool& canClose) override {
        log.push_back("query");
        canClose = !Lock.Checked;
    }
    void FormClose(CloseAction& action) override {
        log.push_back("close");
        action = closeAction;
    }
};

using Log = std::vector<std::string>;

}  // namespace

using FormTest = HeadlessFormsTest;

TEST_F(FormTest, ScriptedUserTicksABoxAndPressesOk) {
    auto dialog = CreateForm<TestDialog>();
    EXPECT_EQ(dialog->log, Log{"create"});
    EXPECT_FALSE(dialog->Showing());
    ui->QueueForm<TestDialog>([](TestDialog& form) {
        EXPECT_TRUE(form.Showing());
        EXPECT_TRUE(form.Modal());
        EXPECT_TRUE(form.Option.Click());
        EXPECT_TRUE(form.Kind.Select(1));
        EXPECT_TRUE(form.Ok.Click());
        EXPECT_FALSE(form.Showing());
    });

    EXPECT_EQ(dialog->ShowModal(), mrOk);
    EXPECT_EQ(dialog->log, (Log{"create", "show", "option", "ok", "query", "close"}));
    EXPECT_TRUE(dialog->Option.Checked);
    EXPECT_EQ(dialog->Kind.ItemIndex(), 1);
    EXPECT_FALSE(dialog->Modal());
    ASSERT_EQ(ui->Forms().size(), 1u);
    EXPECT_EQ(ui->Forms()[0].caption, Utf8ToCp1250("Próba"));
    EXPECT_EQ(ui->Forms()[0].result, mrOk);
    EXPECT_TRUE(ui->Forms()[0].scripted);
    EXPECT_FALSE(ui->Forms()[0].abandoned);
}

TEST_F(FormTest, RefusedCloseQueryKeepsTheFormOpenUntilTheUserPutsThingsRight) {
    auto dialog = CreateForm<TestDialog>();
    dialog->Lock.Checked = true;
    ui->QueueForm<TestDialog>([](TestDialog& form) {
        form.Ok.Click();
        EXPECT_TRUE(form.Showing());
        EXPECT_EQ(form.ModalResult(), mrNone);
        EXPECT_FALSE(form.Close());
        EXPECT_TRUE(form.Showing());
        form.Lock.Click();
        EXPECT_TRUE(form.PressEnter());
        EXPECT_FALSE(form.Showing());
    });
    EXPECT_EQ(dialog->ShowModal(), mrOk);
    EXPECT_EQ(dialog->log, (Log{"create", "show", "ok", "query", "query", "ok", "query", "close"}));
}

TEST_F(FormTest, CloseHandlerAnsweringNoneKeepsTheFormOpen) {
    auto dialog = CreateForm<TestDialog>();
    dialog->closeAction = CloseAction::caNone;
    ui->QueueForm<TestDialog>([](TestDialog& form) {
        form.Ok.Click();
        EXPECT_TRUE(form.Showing());
        form.closeAction = CloseAction::caHide;
        EXPECT_TRUE(form.PressEscape());
    });
    EXPECT_EQ(dialog->ShowModal(), mrCancel);
}

TEST_F(FormTest, UnscriptedShowModalClosesWithCancel) {
    auto dialog = CreateForm<TestDialog>();
    EXPECT_EQ(dialog->ShowModal(), mrCancel);
    EXPECT_EQ(dialog->log, (Log{"create", "show", "query", "close"}));
    ASSERT_EQ(ui->Forms().size(), 1u);
    EXPECT_FALSE(ui->Forms()[0].scripted);
    EXPECT_FALSE(ui->Forms()[0].abandoned);
}

TEST_F(FormTest, CloseRefusedToTheEndIsAbandonedWithCancelAndTheFormCanBeShownAgain) {
    auto dialog = CreateForm<TestDialog>();
    dialog->Lock.Checked = true;
    ui->QueueForm([](Form& form) { form.PressEscape(); });
    EXPECT_EQ(dialog->ShowModal(), mrCancel);
    EXPECT_FALSE(dialog->Showing());
    EXPECT_TRUE(ui->Forms()[0].abandoned);

    dialog->Lock.Checked = false;
    ui->QueueForm<TestDialog>([](TestDialog& form) { form.Ok.Click(); });
    EXPECT_EQ(dialog->ShowModal(), mrOk);
    EXPECT_FALSE(ui->Forms()[1].abandoned);
}

TEST_F(FormTest, AFormShownFromAScriptTakesTheNextScript) {
    auto outer = CreateForm<TestDialog>();
    auto inner = CreateForm<TestDialog>();
    inner->Caption = Utf8ToCp1250("Wewnętrzny");
    int innerResult = -1;
    outer->Option.OnClick = [&] { innerResult = inner->ShowModal(); };
    ui->QueueForm<TestDialog>([](TestDialog& form) {
        form.Option.Click();
        form.Ok.Click();
    });
    ui->QueueForm<TestDialog>([](TestDialog& form) {
        form.Kind.Select(1);
        form.Ok.Click();
    });

    EXPECT_EQ(outer->ShowModal(), mrOk);
    EXPECT_EQ(innerResult, mrOk);
    EXPECT_EQ(inner->Kind.ItemIndex(), 1);
    ASSERT_EQ(ui->Forms().size(), 2u);
    EXPECT_EQ(ui->Forms()[0].caption, Utf8ToCp1250("Próba"));
    EXPECT_EQ(ui->Forms()[1].caption, Utf8ToCp1250("Wewnętrzny"));
}

namespace {

// A main window that closes itself as soon as it is shown, as after a command-line run.
class SelfClosingWindow : public Form {
  public:
    bool done = true;
    bool fail = false;

  protected:
    void FormShow() override {
        if (fail) throw std::runtime_error("show failed");
        if (done) Close();
    }
};

}  // namespace

TEST_F(FormTest, AFormThatClosesWhileShowingGetsNoUser) {
    auto window = CreateForm<SelfClosingWindow>();
    bool acted = false;
    ui->QueueForm([&](Form&) { acted = true; });
    RunMainForm(*window);
    EXPECT_FALSE(acted);
    EXPECT_FALSE(window->Showing());
    EXPECT_EQ(ui->PendingScripts(), 1u);

    window->done = false;
    RunMainForm(*window);  // now the queued user acts, then the window is closed
    EXPECT_TRUE(acted);
    EXPECT_FALSE(window->Showing());
}

TEST_F(FormTest, AFailingShowHandlerLeavesNoModalFormBehind) {
    auto window = CreateForm<SelfClosingWindow>();
    window->fail = true;
    EXPECT_THROW(window->ShowModal(), std::runtime_error);
    EXPECT_FALSE(window->Showing());
    EXPECT_FALSE(window->Modal());
    window->fail = false;
    EXPECT_EQ(window->ShowModal(), mrCancel);
}

TEST_F(FormTest, AScriptForAnotherClassIsRecordedAndTheFormIsCancelled) {
    auto window = CreateForm<SelfClosingWindow>();
    window->done = false;
    bool acted = false;
    ui->QueueForm<TestDialog>([&](TestDialog&) { acted = true; });
    EXPECT_EQ(window->ShowModal(), mrCancel);
    EXPECT_FALSE(acted);
    ASSERT_EQ(ui->Mismatches().size(), 1u);
    ui->Reset();
}

TEST_F(FormTest, MisuseIsCaughtAndAThrowingScriptLeavesNoModalFormBehind) {
    auto dialog = CreateForm<TestDialog>();
    dialog->Show();
    EXPECT_THROW(dialog->ShowModal(), std::logic_error);
    dialog->Hide();

    ui->QueueForm([](Form&) { throw std::runtime_error("boom"); });
    EXPECT_THROW(dialog->ShowModal(), std::runtime_error);
    EXPECT_FALSE(dialog->Showing());
    EXPECT_FALSE(dialog->Modal());

    // A modal result set outside a modal showing is only stored.
    dialog->SetModalResult(mrYes);
    EXPECT_EQ(dialog->ModalResult(), mrYes);
    EXPECT_EQ(dialog->log, (Log{"create", "show", "show"}));
}

TEST_F(FormTest, EnterAndEscapeNeedAButtonThatCanBePressed) {
    auto dialog = CreateForm<TestDialog>();
    ui->QueueForm<TestDialog>([](TestDialog& form) {
        form.Ok.Enabled = false;
        EXPECT_FALSE(form.PressEnter());
        EXPECT_FALSE(form.Ok.Click());
        EXPECT_TRUE(form.Showing());
        form.Abort.Cancel = false;
        EXPECT_FALSE(form.PressEscape());
    });
    EXPECT_EQ(dialog->ShowModal(), mrCancel);
}
