// The close routes of a form window: each reaches the logic as what it is, and the form ends
// (or stays) as the logic answers.

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <gtest/gtest.h>
#include <optional>
#include <vector>

#include "forms/widgets/form_dialog.h"

namespace kq904 {
namespace {

constexpr int kField = 1000;
constexpr int kTick = 1001;
constexpr int kApply = 1002;

class CloseLogic : public FormEvents {
public:
    void onClicked(int id) override { clicks.push_back(id); }
    FormEnd onClose(CloseRoute route) override
    {
        routes.push_back(route);
        return answer.value_or(FormEvents::onClose(route));
    }
    std::optional<FormEnd> answer;
    std::vector<CloseRoute> routes;
    std::vector<int> clicks;
};

class SampleDialog : public FormDialog {
public:
    SampleDialog()
        : FormDialog("Sample")
    {
        auto* layout = new QVBoxLayout(this);
        field = makeLineEdit(kField);
        tick = makeCheckBox(kTick, "Scan");
        apply = makeButton(kApply, "Apply");
        ok = makeButton(kIdOk, "OK");
        cancel = makeButton(kIdCancel, "Cancel");
        layout->addLayout(labelledRow("Name", field));
        layout->addWidget(tick);
        layout->addWidget(apply);
        layout->addWidget(ok);
        layout->addWidget(cancel);
        bindLogic(logic);
    }
    CloseLogic logic;
    QLineEdit* field;
    QCheckBox* tick;
    QPushButton* apply;
    QPushButton* ok;
    QPushButton* cancel;
};

class FormDialogTest : public ::testing::Test {
protected:
    FormDialogTest()
    {
        dialog.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    }
    SampleDialog dialog;
};

TEST_F(FormDialogTest, OkAndCancelButtonsAreCloseRequestsNotClicks)
{
    QTest::mouseClick(dialog.ok, Qt::LeftButton);
    EXPECT_EQ(dialog.logic.routes, std::vector{CloseRoute::OkButton});
    EXPECT_TRUE(dialog.logic.clicks.empty());
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);

    dialog.show();
    QTest::mouseClick(dialog.cancel, Qt::LeftButton);
    EXPECT_EQ(dialog.logic.routes.back(), CloseRoute::CancelButton);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

TEST_F(FormDialogTest, EnterInAFieldAsksToEndAsOk)
{
    dialog.field->setFocus();
    QTest::keyClick(dialog.field, Qt::Key_Return);
    EXPECT_EQ(dialog.logic.routes, std::vector{CloseRoute::EnterKey});
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(FormDialogTest, EnterOnAPushButtonPressesIt)
{
    dialog.apply->setFocus();
    QTest::keyClick(dialog.apply, Qt::Key_Return);
    EXPECT_EQ(dialog.logic.clicks, std::vector{kApply});
    EXPECT_TRUE(dialog.logic.routes.empty());
    EXPECT_TRUE(dialog.isVisible());

    // Enter on the Cancel button is Cancel, not OK.
    dialog.cancel->setFocus();
    QTest::keyClick(dialog.cancel, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(dialog.logic.routes, std::vector{CloseRoute::CancelButton});
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

TEST_F(FormDialogTest, EnterOnACheckBoxAsksToEndAsOk)
{
    dialog.tick->setFocus();
    QTest::keyClick(dialog.tick, Qt::Key_Return);
    EXPECT_EQ(dialog.logic.routes, std::vector{CloseRoute::EnterKey});
}

TEST_F(FormDialogTest, EscapeAndCloseBoxAreTheirOwnRoutes)
{
    dialog.field->setFocus();
    QTest::keyClick(dialog.field, Qt::Key_Escape);
    EXPECT_EQ(dialog.logic.routes, std::vector{CloseRoute::EscapeKey});
    EXPECT_EQ(dialog.result(), QDialog::Rejected);

    dialog.show();
    EXPECT_TRUE(dialog.close());
    EXPECT_EQ(dialog.logic.routes.back(), CloseRoute::CloseBox);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

TEST_F(FormDialogTest, TheLogicCanKeepTheFormOpenOrEndItAsOk)
{
    dialog.logic.answer = FormEnd::Stay;
    EXPECT_FALSE(dialog.close());
    QTest::keyClick(dialog.field, Qt::Key_Escape);
    QTest::mouseClick(dialog.ok, Qt::LeftButton);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.logic.routes.size(), 3u);

    dialog.logic.answer = FormEnd::Accepted;
    EXPECT_TRUE(dialog.close());
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(FormDialogTest, ExecReturnsHowTheFormEnded)
{
    QTimer::singleShot(0, &dialog, [this] { QTest::keyClick(dialog.field, Qt::Key_Return); });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    QTimer::singleShot(0, &dialog, [this] { dialog.close(); });
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
}

} // namespace
} // namespace kq904
