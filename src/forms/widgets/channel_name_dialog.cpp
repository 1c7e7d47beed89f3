#include "channel_name_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "forms/channel_name_ids.h"

namespace kq904 {

namespace ids = channel_name_ids;

CChannelNameDlg::CChannelNameDlg(RadioImage& image, int channel, QWidget* parent)
    : FormDialog(QStringLiteral("Channel Name"), parent)
    , form_(image, controls(), channel)
{
    auto* field = makeLineEdit(ids::name);
    auto* caption = makeLabel(ids::nameLabel, QStringLiteral("Name"));
    caption->setBuddy(field);
    auto* hint = makeLabel(ids::hint, QStringLiteral("(Max. 5 Digits)"));

    auto* fieldRow = new QGridLayout;
    fieldRow->addWidget(caption, 0, 0);
    fieldRow->addWidget(field, 0, 1);
    fieldRow->addWidget(hint, 1, 1);
    fieldRow->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(makeButton(ids::ok, QStringLiteral("OK")));
    buttons->addWidget(makeButton(ids::cancel, QStringLiteral("Cancel")));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fieldRow);
    layout->addStretch(1);
    layout->addLayout(buttons);

    resize(dialogUnits(187, 95).expandedTo(minimumSizeHint()));

    bindLogic(form_);
    form_.open();
    field->selectAll();
    field->setFocus();
}

std::unique_ptr<QDialog> makeChannelNameScreenshot(RadioImage& image, int channel, QWidget* parent)
{
    return std::make_unique<CChannelNameDlg>(image, channel, parent);
}

} // namespace kq904
