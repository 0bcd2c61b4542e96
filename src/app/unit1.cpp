#include "app/unit1.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QEvent>
#include <QFontInfo>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

#include "app/app_icon.h"

namespace geocalc::app {

TForm1* Form1 = nullptr;

namespace {

constexpr int kFontPixels = 11;

// "MS Sans Serif" where installed; else the closest narrow sans-serif face,
// so that the designed captions fit their controls.
QFont windowFont() {
    for (const char* family : {"MS Sans Serif", "Microsoft Sans Serif", "Liberation Sans Narrow",
                               "DejaVu Sans Condensed"}) {
        QFont font(QString::fromLatin1(family));
        font.setPixelSize(kFontPixels);
        if (QFontInfo(font).family() == QLatin1String(family)) return font;
    }
    QFont font(QStringLiteral("Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(kFontPixels);
    return font;
}

}  // namespace

TForm1::TForm1(QWidget* parent) : QWidget(parent) {
    Form1 = this;
    setWindowTitle(QStringLiteral("расчет геоданных"));
    setWindowIcon(appIcon());
    setFont(windowFont());
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);
    makeControls();
    placeControls();
    chainTabOrder();
    // Placed before it is first shown, so that a window manager takes the
    // place as the program's own rather than choosing one.
    placeByOuterSize();
}

TForm1::~TForm1() {
    // The views go first: they hold on to the lists and the table.
    delete scrollArea_;
    delete DataSource1;
    if (Form1 == this) Form1 = nullptr;
}

void TForm1::makeControls() {
    scrollArea_ = new QScrollArea(this);
    scrollArea_->setFrameShape(QFrame::NoFrame);
    scrollArea_->setFocusPolicy(Qt::NoFocus);
    scrollArea_->setBackgroundRole(QPalette::Button);
    client_ = new QWidget;
    client_->setFixedSize(layout::kClientWidth, layout::kClientHeight);

    Label1 = new QLabel(QStringLiteral("Откройте таблицу"), client_);
    Button1 = new PushButton(QStringLiteral("Открыть таблицу"), client_);
    DataSource1 = new DataSource(Table1, this);
    DBGrid1 = new DBGrid(*DataSource1, client_);
    ListBox1 = new ListBox(form_.lists.names, client_);
    Button3 = new PushButton(QStringLiteral("Очистить"), client_);
    Button4 = new PushButton(QStringLiteral("Удалить"), client_);
    Button5 = new PushButton(QStringLiteral("Рассчет"), client_);
    ListBox2 = new ListBox(form_.lists.xs, client_);
    ListBox3 = new ListBox(form_.lists.ys, client_);
    ListBox4 = new ListBox(form_.lists.sides, client_);
    Button6 = new PushButton(QStringLiteral("Сохранить"), client_);
    for (ListBox* pointList : {ListBox1, ListBox2, ListBox3}) {
        pointList->setSelector([this](int index) { selectPoint(form_.lists, index); });
    }
    for (ListBox* list : {ListBox1, ListBox2, ListBox3, ListBox4}) {
        list->setCopier([this](const TextList& shown) { return form_.copiedFrom(shown); });
    }
    setAcceptDrops(true);
    form_.setCommandsObserver([this] { showCommands(); });
    showCommands();
    scrollArea_->setWidget(client_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scrollArea_);

    connect(Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
    connect(DBGrid1, &DBGrid::recordDoubleClicked, this, &TForm1::DBGrid1DblClick);
    connect(Button3, &QPushButton::clicked, this, &TForm1::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TForm1::Button4Click);
    connect(Button5, &QPushButton::clicked, this, &TForm1::Button5Click);
    connect(Button6, &QPushButton::clicked, this, &TForm1::Button6Click);
}

// The designed places, scaled when the window font's text height is not the
// one the window was designed with; the client area scrolls when the window
// is smaller than the controls.
void TForm1::placeControls() {
    using namespace layout;
    const int textHeight = QFontMetrics(font()).height();
    auto place = [textHeight](QWidget* control, const Place& designed) {
        const Place p = scaled(designed, textHeight);
        control->setGeometry(p.left, p.top, p.width, p.height);
    };
    place(Label1, kLabel1);
    Label1->adjustSize();  // a label is as wide as its text, as the designer made it
    place(Button1, kButton1);
    place(DBGrid1, kDBGrid1);
    place(ListBox1, kListBox1);
    place(Button3, kButton3);
    place(Button4, kButton4);
    place(Button5, kButton5);
    place(ListBox2, kListBox2);
    place(ListBox3, kListBox3);
    place(ListBox4, kListBox4);
    place(Button6, kButton6);
    client_->setFixedSize(scaled(kClientWidth, textHeight), scaled(kClientHeight, textHeight));
}

void TForm1::chainTabOrder() {
    QWidget* order[] = {Button1, DBGrid1, ListBox1, Button3, Button4, Button5, ListBox2, ListBox3, ListBox4, Button6};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);
    Button1->setFocus();
}

void TForm1::openNamed(const QString& path) { form_.openNamed(QFileInfo(path).absoluteFilePath().toStdString()); }

// A file dropped on the window opens as the open dialog's pick would.
void TForm1::dragEnterEvent(QDragEnterEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() == 1 && urls.first().isLocalFile()) event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* event) {
    event->acceptProposedAction();
    openNamed(event->mimeData()->urls().first().toLocalFile());
}

// A failure to keep the edit shows in the error box (the application's
// handler) and leaves the window open.
void TForm1::closeEvent(QCloseEvent* event) {
    event->ignore();
    form_.FormCloseQuery(DBGrid1->behaviour());
    event->accept();
}

void TForm1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (shownBefore_) return;
    shownBefore_ = true;
    placeByOuterSize();
    // A window manager's frame is known only once it has framed the window:
    // the place is fitted again as soon as a frame shows (looked for when the
    // window is exposed, and every few milliseconds for a while).
    if (!frameFitted_ && windowHandle()) {
        windowHandle()->installEventFilter(this);
        lookForFrame(kFrameWait / kFrameLookInterval);
    }
    Button1->setFocus();
}

void TForm1::lookForFrame(int looksLeft) {
    if (frameFitted_) return;
    if (looksLeft == 0) {
        frameFitted_ = true;  // no window manager frames this window
        return;
    }
    QTimer::singleShot(kFrameLookInterval, this, [this, looksLeft] {
        if (!frameFitted_) placeByOuterSize();
        lookForFrame(looksLeft - 1);
    });
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == windowHandle() && event->type() == QEvent::Expose && !frameFitted_) placeByOuterSize();
    return QWidget::eventFilter(watched, event);
}

// The designed size and the centring are by the outer size, frame and
// caption bar included; the top left never goes off the screen.
void TForm1::placeByOuterSize() {
    const QSize frame = frameGeometry().size() - size();
    frameFitted_ = frame.width() > 0 || frame.height() > 0;
    resize(QSize(kOuterWidth, kOuterHeight) - frame);
    if (const QScreen* screen = this->screen()) {
        const QRect area = screen->geometry();
        move(area.x() + std::max(0, (area.width() - kOuterWidth) / 2),
             area.y() + std::max(0, (area.height() - kOuterHeight) / 2));
    }
}

void TForm1::showCommands() {
    Button5->setEnabled(form_.calculateEnabled());
    Button6->setEnabled(form_.saveEnabled());
}

ShowFileDialog TForm1::dialogShower() {
    return [this](const FileDialogSettings& settings) -> std::optional<std::string> {
        const FileDialog& dialog = &settings == &form_.SaveDialog1 ? SaveDialog1 : OpenDialog1;
        const std::optional<QString> chosen = dialog.execute(this);
        if (!chosen) return std::nullopt;
        return chosen->toStdString();
    };
}

void TForm1::Button1Click() { form_.Button1Click(dialogShower()); }

void TForm1::DBGrid1DblClick() { form_.DBGrid1DblClick(); }

void TForm1::Button3Click() { form_.Button3Click(); }

void TForm1::Button4Click() { form_.Button4Click(); }

void TForm1::Button5Click() { form_.Button5Click(); }

void TForm1::Button6Click() { form_.Button6Click(dialogShower()); }

}  // namespace geocalc::app
