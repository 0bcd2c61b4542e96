// The main window: `TForm1`, the Qt view of the form's behaviour (MainForm):
// its controls draw the form's state and pass it the user's commands.
#pragma once

#include <QWidget>
#include <array>

#include "app/data_source.h"
#include "app/db_grid.h"
#include "app/file_dialog.h"
#include "app/list_box.h"
#include "app/push_button.h"
#include "form/form_controls.h"
#include "form/main_form.h"

class QLabel;
class QScrollArea;

namespace geocalc::app {

class TForm1 : public QWidget {
    Q_OBJECT
public:
    // The designed outer size and the extent of the controls.
    static constexpr int kOuterWidth = layout::kOuterWidth;
    static constexpr int kOuterHeight = layout::kOuterHeight;
    static constexpr int kDesignTextHeight = layout::kDesignTextHeight;

    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

private:
    MainForm form_;  // first: the controls are views of it

public:
    // The components, in the order the window declares them.
    FileDialog OpenDialog1{form_.OpenDialog1};
    PushButton* Button1;
    QLabel* Label1;
    TableDataset& Table1 = form_.Table1;
    DataSource* DataSource1;
    DBGrid* DBGrid1;
    ListBox* ListBox1;
    PushButton* Button3;
    PushButton* Button4;
    PushButton* Button5;
    ListBox* ListBox2;
    ListBox* ListBox3;
    ListBox* ListBox4;
    PushButton* Button6;
    FileDialog SaveDialog1{form_.SaveDialog1};

    void Button1Click();
    void DBGrid1DblClick();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void Button6Click();

    PointLists& pointLists() { return form_.lists; }
    // `geocalc FILE` and a file dropped on the window: opened as "Открыть
    // таблицу" opens the file picked in its dialog.
    void openNamed(const QString& path);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void makeControls();
    void placeControls();
    void chainTabOrder();
    void placeByOuterSize();
    void lookForFrame(int looksLeft);
    void showCommands();
    ShowFileDialog dialogShower();
    QWidget* control(ControlId id) const { return controls_[std::size_t(id)]; }

    std::array<QWidget*, kFormControls.size()> controls_{};  // by the form's controls
    QScrollArea* scrollArea_;
    QWidget* client_;
    bool shownBefore_ = false;
    bool frameFitted_ = false;                     // placed by the outer size with the frame known
    static constexpr int kFrameWait = 2000;        // ms to look for a frame
    static constexpr int kFrameLookInterval = 10;  // ms
};

// The window's single instance while it exists.
extern TForm1* Form1;

}  // namespace geocalc::app
