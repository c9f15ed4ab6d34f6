#include "commands/frmAbout.h"

#include "commands/DialogLayout.h"

#include <QLabel>
#include <QPixmap>
#include <QPushButton>

namespace {
// The title label's text before the version is added to it.
const char16_t kTitleDesign[] = u"Pivex Ver";
constexpr int kIconSide = 32;
} // namespace

frmAbout::frmAbout(const QPixmap &icon, QWidget *parent)
    : QDialog(parent)
    , cmdOk(new QPushButton(QStringLiteral("OK"), this))
    , picIcon(new QLabel(this))
    , lblDescription(new QLabel(QStringLiteral("複数のログファイルを監視するツールです"), this))
    , lblTitle(new QLabel(QString::fromUtf16(kTitleDesign), this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Pivexについて"));
    setObjectName(QStringLiteral("frmAbout"));
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    picIcon->setObjectName(QStringLiteral("picIcon"));
    lblDescription->setObjectName(QStringLiteral("lblDescription"));
    lblTitle->setObjectName(QStringLiteral("lblTitle"));

    DialogLayout::setClientSize(this, 3870, 1455);
    DialogLayout::place(cmdOk, 2760, 1080, 1080, 345);
    DialogLayout::place(picIcon, 120, 180, 540, 540);
    DialogLayout::placeText(lblDescription, 780, 600, 2985, 405);
    DialogLayout::placeText(lblTitle, 780, 240, 2985, 300);

    if (!icon.isNull()) {
        picIcon->setPixmap(icon.width() > kIconSide || icon.height() > kIconSide ? icon.scaled(
                               kIconSide, kIconSide, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                                                                                 : icon);
    }
    picIcon->setAlignment(Qt::AlignCenter);

    // Enter reaches the default button; Escape reaches reject(), which closes as OK does.
    cmdOk->setDefault(true);
    cmdOk->setFocus();
    connect(cmdOk, &QPushButton::clicked, this, &frmAbout::cmdOk_Click);

    Form_Load();
}

void frmAbout::Form_Load()
{
    // Set, never appended to the label's current text: the version shows exactly once.
    lblTitle->setText(QString::fromUtf16(kTitleDesign) + QString::fromUtf16(kVersion));
}

void frmAbout::cmdOk_Click()
{
    accept();
}
