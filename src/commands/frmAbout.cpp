#include "commands/frmAbout.h"

#include "commands/DialogLayout.h"
#include "startup/ProgramVersion.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace {
// The title label's text before the version is added to it.
const char16_t kTitleDesign[] = u"Pivex Ver";
constexpr int kIconSide = 32;
constexpr int kPictureSide = 36; // the icon with a little room around it
} // namespace

frmAbout::frmAbout(const QIcon &icon, QWidget *parent)
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

    // Drawn for the device's pixel ratio, so the icon stays sharp at 2x.
    if (!icon.isNull())
        picIcon->setPixmap(icon.pixmap(QSize(kIconSide, kIconSide), devicePixelRatioF()));
    picIcon->setAlignment(Qt::AlignCenter);
    picIcon->setFixedSize(kPictureSide, kPictureSide);

    // The icon at the top left, the title over the notice beside it, OK at the bottom right.
    auto *texts = DialogLayout::column({lblTitle, lblDescription});
    auto *top = new QHBoxLayout;
    top->addWidget(picIcon, 0, Qt::AlignTop);
    top->addLayout(texts);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(cmdOk);
    auto *layout = new QVBoxLayout;
    layout->addLayout(top);
    layout->addLayout(bottom);
    DialogLayout::fixToContent(this, layout);

    // Enter reaches the default button; Escape reaches reject(), which closes as OK does.
    cmdOk->setDefault(true);
    cmdOk->setFocus();
    connect(cmdOk, &QPushButton::clicked, this, &frmAbout::cmdOk_Click);

    Form_Load();
}

void frmAbout::Form_Load()
{
    // Set, never appended to the label's current text: the version shows exactly once.
    lblTitle->setText(QString::fromUtf16(kTitleDesign)
                      + QString::fromLatin1(ProgramVersion::kVersion));
}

void frmAbout::cmdOk_Click()
{
    accept();
}
