#include "main_window.h"

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

#include "combo_parts.h"
#include "game_list_widget.h"
#include "picture_pane.h"
#include "text_positions.h"
#include "twips.h"
#include "window_icon.h"

namespace lorvane {
namespace {

QRect TwipsRect(int left, int top, int width, int height) {
    return QRect(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height));
}

QFont ArialFont(qreal points, bool bold) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

}  // namespace

MainWindow::MainWindow(std::string appDir, QWidget* parent)
    : QMainWindow(parent), form_(std::move(appDir), static_cast<UiPort&>(*this)) {
    setWindowIcon(WindowIcon());
    BuildControls();
    BuildMenus();
    resize(TwipsToPixels(8010), TwipsToPixels(4770) + menuBar()->sizeHint().height());
    ShowState();
}

MainWindow::~MainWindow() {
    progress_.Close();
    SetBusyPointer(false);
}

template <typename Handler>
void MainWindow::Forward(Handler&& handler) {
    form_.RunHandler(std::forward<Handler>(handler));
    ShowState();
}

void MainWindow::BuildControls() {
    auto* client = new QWidget(this);
    setCentralWidget(client);

    mameExeName_ = new QLineEdit(client);
    mameExeName_->setObjectName(QStringLiteral("MameExeName"));
    mameExeName_->setAccessibleName(QStringLiteral("MAME Executable"));
    connect(mameExeName_, &QLineEdit::textEdited, this,
            [this](const QString& text) { form_.State().MameExeName = ToUtf8(text); });

    combo1_ = new GameListWidget(form_.State().Combo1, client);
    combo1_->setObjectName(QStringLiteral("Combo1"));
    // Descriptions are plain text: skipping the shaping step when a font allows
    // it takes a third off the repaint that follows each type-ahead key.
    QFont listFont = ArialFont(9, false);
    listFont.setStyleStrategy(QFont::PreferNoShaping);
    combo1_->setFont(listFont);
    connect(combo1_, &GameListWidget::characterTyped, this, &MainWindow::OnCharacterTyped);
    connect(combo1_, &GameListWidget::enterPressed, this, [this] {
        Forward([this] {
            std::int16_t key = 13;
            form_.Combo1_KeyPress(key);
        });
    });
    connect(combo1_, &GameListWidget::entryChosen, this, &MainWindow::OnEntryChosen);
    connect(combo1_, &GameListWidget::entryDoubleClicked, this, &MainWindow::OnEntryDoubleClicked);
    connect(combo1_, &GameListWidget::editChanged, this, &MainWindow::OnEditChanged);

    pane_ = new PicturePane(client);
    pane_->setObjectName(QStringLiteral("brwPNGBrowser"));

    label1_ = new QLabel(QStringLiteral("MAME Executable"), client);
    label1_->setObjectName(QStringLiteral("Label1"));
    label1_->setFont(ArialFont(8.25, true));
    label1_->setGeometry(TwipsRect(120, 120, 1575, 255));
    label1_->setBuddy(mameExeName_);

    line1_ = new QFrame(client);
    line1_->setObjectName(QStringLiteral("Line1"));
    line1_->setFrameShape(QFrame::HLine);
    line1_->setFrameShadow(QFrame::Plain);
    line1_->setLineWidth(1);
    line1_->setGeometry(TwipsToPixels(120), 0, TwipsToPixels(5760 - 120) + 1, 1);

    setTabOrder(combo1_, mameExeName_);
    setTabOrder(mameExeName_, pane_);
    combo1_->setFocus();
}

QAction* MainWindow::AddItem(QMenu* menu, const char* name, const char* caption) {
    QAction* item = menu->addAction(QString::fromLatin1(caption));
    item->setObjectName(QString::fromLatin1(name));
    return item;
}

void MainWindow::BuildMenus() {
    QMenu* tools = menuBar()->addMenu(QStringLiteral("Options"));
    tools->setObjectName(QStringLiteral("tools"));
    preview_ = AddItem(tools, "Preview", "Enable Preview");
    preview_->setCheckable(true);
    connect(preview_, &QAction::triggered, this, [this] { Forward([this] { form_.Preview_Click(); }); });
    connect(AddItem(tools, "Export_ROM_list", "Export Available Rom list"), &QAction::triggered, this,
            [this] { Forward([this] { form_.Export_ROM_list_Click(); }); });
    connect(AddItem(tools, "Move_bad_roms", "Move Bad Roms Sets"), &QAction::triggered, this,
            [this] { Forward([this] { form_.Move_bad_roms_Click(); }); });
    connect(AddItem(tools, "create_def_ini", "Create Default ini"), &QAction::triggered, this,
            [this] { Forward([this] { form_.create_def_ini_Click(); }); });
    connect(AddItem(tools, "MAKE_GAME_LIST", "Recreate Game List"), &QAction::triggered, this,
            [this] { Forward([this] { form_.MAKE_GAME_LIST_Click(); }); });

    QMenu* input = menuBar()->addMenu(QStringLiteral("Input"));
    input->setObjectName(QStringLiteral("Input"));
    AddItem(input, "Joystick", "JoyStick Settings");  // has no handler
    constexpr const char* kJoyCaptions[] = {"Autodetect", "None", "HotRod", "HotRod SE"};
    for (std::int16_t i = 0; i < static_cast<std::int16_t>(joySel_.size()); ++i) {
        QAction* item = AddItem(input, "JOY_SEL", kJoyCaptions[i]);
        item->setCheckable(true);
        item->setProperty("index", static_cast<int>(i));
        connect(item, &QAction::triggered, this, [this, i] { Forward([this, i] { form_.JOY_SEL_Click(i); }); });
        joySel_[static_cast<std::size_t>(i)] = item;
    }

    QMenu* about = menuBar()->addMenu(QStringLiteral("About"));
    about->setObjectName(QStringLiteral("about"));
    connect(AddItem(about, "This_frontend", "About this Frontend"), &QAction::triggered, this,
            [this] { Forward([this] { form_.This_frontend_Click(); }); });
}

// Everything the window shows comes from the state; check marks too, whatever
// the menu's own toggling did.
void MainWindow::ShowState() {
    const WindowState& st = form_.State();
    setWindowTitle(ToQString(st.caption));

    const QString exeName = ToQString(st.MameExeName);
    if (mameExeName_->text() != exeName) mameExeName_->setText(exeName);
    mameExeName_->setGeometry(TwipsRect(1680, 60, st.MameExeNameSize.width, st.MameExeNameSize.height));

    combo1_->setGeometry(TwipsRect(120, 420, st.Combo1Size.width, st.Combo1Size.height));
    combo1_->ShowState();

    const PicturePaneState& pane = st.brwPNGBrowser;
    pane_->setGeometry(TwipsRect(pane.left, pane.kTop, pane.kWidth, pane.kHeight));
    pane_->setVisible(pane.visible);

    preview_->setChecked(st.Preview);
    for (std::size_t i = 0; i < joySel_.size(); ++i) joySel_[i]->setChecked(st.JOY_SEL[i]);
}

void MainWindow::ReportOuterSize() {
    const QRect outer = frameGeometry();
    form_.SetOuterSize(PixelsToTwips(outer.width()), PixelsToTwips(outer.height()));
}

// The start-up runs after the window has had its chance to paint.
void MainWindow::ActivateLater() {
    QTimer::singleShot(0, this, [this] {
        ReportOuterSize();
        Forward([this] { form_.OnActivated(); });
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

void MainWindow::OnCharacterTyped(const QString& character) {
    const QByteArray utf8 = character.toUtf8();
    Forward([&] {
        if (utf8.size() == 1 && static_cast<unsigned char>(utf8[0]) < 0x80) {
            std::int16_t key = static_cast<std::int16_t>(utf8[0]);
            form_.Combo1_KeyPress(key);
        } else {
            form_.Combo1_TypeAhead(utf8.toStdString());
        }
    });
}

void MainWindow::OnEntryChosen(int row) {
    Forward([this, row] {
        form_.State().Combo1.SetListIndex(row);
        form_.Combo1_Click();
    });
}

void MainWindow::OnEntryDoubleClicked(int row) {
    Forward([this, row] {
        ComboBox& list = form_.State().Combo1;
        if (list.ListIndex() != row) list.SetListIndex(row);
        form_.Combo1_DblClick();
    });
}

void MainWindow::OnEditChanged(const QString& text, int selStart, int selLength, bool textChanged) {
    ComboBox& list = form_.State().Combo1;
    if (textChanged) list.text = ToUtf8(text);
    list.selStart = BytesFromEditPos(text, selStart);
    list.selLength = BytesFromEditPos(text, selStart + selLength) - list.selStart;
}

}  // namespace lorvane
