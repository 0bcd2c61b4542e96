#include "app/unit1.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEvent>
#include <QFileInfo>
#include <QFontInfo>
#include <QLabel>
#include <QMimeData>
#include <QScreen>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

#include "app/ansi_text.h"
#include "app/app_icon.h"

namespace geocalc::app {

TForm1* Form1 = nullptr;

namespace {

// The form's face where installed, else the closest of its narrow faces,
// at the form's pixel size (Qt scales pixels with the screen itself).
QFont windowFont() {
    const int pixels = windowFontPixels(layout::kDesignDpi);
    for (const std::string_view face : kFontFaces) {
        QFont font(fromUtf8(face));
        font.setPixelSize(pixels);
        if (QFontInfo(font).family() == fromUtf8(face)) return font;
    }
    QFont font(QStringLiteral("Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixels);
    return font;
}

}  // namespace

TForm1::TForm1(QWidget* parent) : QWidget(parent) {
    Form1 = this;
    setWindowTitle(fromUtf8(kFormCaption));
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

    DataSource1 = new DataSource(Table1, this);
    for (const FormControl& c : kFormControls) {
        QWidget*& made = controls_[std::size_t(c.id)];
        switch (c.kind) {
            case ControlKind::Label:
                made = new QLabel(fromUtf8(c.caption), client_);
                break;
            case ControlKind::Button:
                made = new PushButton(fromUtf8(c.caption), client_);
                break;
            case ControlKind::Grid:
                made = new DBGrid(*DataSource1, client_);
                break;
            case ControlKind::List: {
                auto* list = new ListBox(listOf(form_.lists, c.list), client_);
                if (sharesPointSelection(c.list))
                    list->setSelector([this](int index) { selectPoint(form_.lists, index); });
                list->setCopier([this](const TextList& shown) { return form_.copiedFrom(shown); });
                made = list;
                break;
            }
        }
    }
    Label1 = static_cast<QLabel*>(control(ControlId::Label1));
    Button1 = static_cast<PushButton*>(control(ControlId::Button1));
    DBGrid1 = static_cast<DBGrid*>(control(ControlId::DBGrid1));
    ListBox1 = static_cast<ListBox*>(control(ControlId::ListBox1));
    Button3 = static_cast<PushButton*>(control(ControlId::Button3));
    Button4 = static_cast<PushButton*>(control(ControlId::Button4));
    Button5 = static_cast<PushButton*>(control(ControlId::Button5));
    ListBox2 = static_cast<ListBox*>(control(ControlId::ListBox2));
    ListBox3 = static_cast<ListBox*>(control(ControlId::ListBox3));
    ListBox4 = static_cast<ListBox*>(control(ControlId::ListBox4));
    Button6 = static_cast<PushButton*>(control(ControlId::Button6));
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
    for (const FormControl& c : kFormControls) {
        const Place p = scaled(c.place, textHeight);
        control(c.id)->setGeometry(p.left, p.top, p.width, p.height);
        if (c.kind == ControlKind::Label)
            control(c.id)->adjustSize();  // as wide as its text, as designed
    }
    client_->setFixedSize(scaled(kClientWidth, textHeight), scaled(kClientHeight, textHeight));
}

// The form's order is the tab order.
void TForm1::chainTabOrder() {
    QWidget* previous = nullptr;
    for (const FormControl& c : kFormControls) {
        if (!c.tabStop()) continue;
        if (previous) setTabOrder(previous, control(c.id));
        previous = control(c.id);
    }
    Button1->setFocus();
}

void TForm1::openNamed(const QString& path) {
    form_.openNamed(QFileInfo(path).absoluteFilePath().toStdString());
}

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
    if (watched == windowHandle() && event->type() == QEvent::Expose && !frameFitted_)
        placeByOuterSize();
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
