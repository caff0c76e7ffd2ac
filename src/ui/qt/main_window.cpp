#include "ui/qt/main_window.h"

#include <QEvent>
#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QShowEvent>
#include <QTimer>
#include <utility>

#include "form/layout.h"
#include "form/menu.h"
#include "form/twips.h"
#include "ui/qt/game_list_widget.h"
#include "ui/qt/picture_pane.h"
#include "ui/qt/text_positions.h"
#include "ui/qt/window_icon.h"

namespace lorvane::ui::qt {
namespace {

// Qt counts device-independent pixels: 96 to the inch.
constexpr form::Twips kTwips;

QRect ToPixels(const form::TwipsRect& r) {
    return QRect(kTwips.ToPixels(r.left), kTwips.ToPixels(r.top), kTwips.ToPixels(r.width),
                 kTwips.ToPixels(r.height));
}

QFont ArialFont(qreal points, bool bold) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

}  // namespace

MainWindow::MainWindow(std::string appDir, QWidget* parent)
    : QMainWindow(parent), form_(std::move(appDir), static_cast<form::UiPort&>(*this)) {
    setWindowIcon(WindowIcon());
    BuildControls();
    BuildMenus();
    resize(kTwips.ToPixels(form::kClientWidth),
           kTwips.ToPixels(form::kClientHeight) + menuBar()->sizeHint().height());
    ShowState();
}

MainWindow::~MainWindow() {
    progress_.Close();
    SetBusyPointer(false);
}

void MainWindow::BuildControls() {
    auto* client = new QWidget(this);
    setCentralWidget(client);

    emulatorNameBox_ = new QLineEdit(client);
    emulatorNameBox_->setObjectName(QStringLiteral("MameExeName"));
    emulatorNameBox_->setAccessibleName(QStringLiteral("MAME Executable"));
    connect(emulatorNameBox_, &QLineEdit::textEdited, this,
            [this](const QString& text) { form_.OnEmulatorNameEdited(ToUtf8(text)); });

    gameList_ = new GameListWidget(form_.State().gameList, client);
    gameList_->setObjectName(QStringLiteral("Combo1"));
    // Descriptions are plain text: skipping the shaping step when a font allows
    // it takes a third off the repaint that follows each type-ahead key.
    QFont listFont = ArialFont(9, false);
    listFont.setStyleStrategy(QFont::PreferNoShaping);
    gameList_->setFont(listFont);
    connect(gameList_, &GameListWidget::characterTyped, this,
            [this](const QString& character) { form_.OnCharacterTyped(ToUtf8(character)); });
    connect(gameList_, &GameListWidget::enterPressed, this, [this] { form_.OnEnterPressed(); });
    connect(gameList_, &GameListWidget::entryChosen, this,
            [this](int row) { form_.OnGameChosen(row); });
    connect(gameList_, &GameListWidget::entryDoubleClicked, this,
            [this](int row) { form_.OnGameActivated(row); });
    connect(gameList_, &GameListWidget::editChanged, this,
            [this](const QString& text, int selectionStart, int selectionLength) {
                const int start = BytesFromEditPos(text, selectionStart);
                form_.OnEditChanged(
                    ToUtf8(text), start,
                    BytesFromEditPos(text, selectionStart + selectionLength) - start);
            });

    snapshotPane_ = new PicturePane(client);
    snapshotPane_->setObjectName(QStringLiteral("brwPNGBrowser"));

    const form::WindowLayout& layout = form_.State().layout;
    label_ = new QLabel(QStringLiteral("MAME Executable"), client);
    label_->setObjectName(QStringLiteral("Label1"));
    label_->setFont(ArialFont(8.25, true));
    label_->setGeometry(ToPixels(layout.label));
    label_->setBuddy(emulatorNameBox_);

    line_ = new QFrame(client);
    line_->setObjectName(QStringLiteral("Line1"));
    line_->setFrameShape(QFrame::HLine);
    line_->setFrameShadow(QFrame::Plain);
    line_->setLineWidth(1);
    line_->setGeometry(kTwips.ToPixels(layout.line.left), kTwips.ToPixels(layout.line.top),
                       kTwips.ToPixels(layout.line.width) + 1, 1);

    setTabOrder(gameList_, emulatorNameBox_);
    setTabOrder(emulatorNameBox_, snapshotPane_);
    gameList_->setFocus();
}

void MainWindow::BuildMenus() {
    for (const form::Menu& menu : form::MenuBar()) {
        QMenu* qmenu = menuBar()->addMenu(QString::fromLatin1(menu.title));
        qmenu->setObjectName(QString::fromLatin1(menu.name));
        for (const form::MenuItem& item : menu.items) {
            QAction* action = qmenu->addAction(QString::fromLatin1(item.caption));
            action->setObjectName(QString::fromLatin1(item.name));
            action->setCheckable(item.checkable);
            if (item.checkable) checkableItems_.push_back({action, item.command});
            connect(action, &QAction::triggered, this,
                    [this, command = item.command] { form_.Run(command); });
        }
    }
}

// Everything the window shows comes from the state; check marks too, whatever
// the menu's own toggling did.
void MainWindow::ShowState() {
    const form::WindowState& st = form_.State();
    setWindowTitle(ToQString(st.caption));

    const QString emulatorName = ToQString(st.emulatorFileName);
    if (emulatorNameBox_->text() != emulatorName) emulatorNameBox_->setText(emulatorName);
    emulatorNameBox_->setGeometry(ToPixels(st.layout.emulatorNameBox));

    gameList_->setGeometry(ToPixels(st.layout.gameList));
    gameList_->ShowState();

    snapshotPane_->setGeometry(ToPixels(st.layout.snapshotPane));
    snapshotPane_->setVisible(st.snapshotPane.visible);

    for (const MenuAction& item : checkableItems_)
        item.action->setChecked(form_.IsChecked(item.command));
}

void MainWindow::ReportOuterSize() {
    const QRect outer = frameGeometry();
    form_.SetOuterSize(kTwips.FromPixels(outer.width()), kTwips.FromPixels(outer.height()));
}

// The start-up runs after the window has had its chance to paint.
void MainWindow::ActivateLater() {
    QTimer::singleShot(0, this, [this] {
        ReportOuterSize();
        form_.OnActivated();
    });
}

bool MainWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) ActivateLater();
    return QMainWindow::event(event);
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    ReportOuterSize();
    // Some platforms never activate a window (no window manager); the start-up
    // must run all the same. It runs only once.
    if (!event->spontaneous()) ActivateLater();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    ReportOuterSize();
}

}  // namespace lorvane::ui::qt
