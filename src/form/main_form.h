// The main window's behaviour, the same whatever draws it: `TForm1`'s state
// (the table, the point lists, the dialogs' settings, which commands are
// enabled) and its handlers. A window shows this state, passes on the user's
// commands and shows the dialogs it is asked for; failures leave the
// handlers as exceptions, for the window's error box.
#pragma once

#include <functional>

#include "form/file_dialog_settings.h"
#include "form/record_grid.h"
#include "points/point_lists.h"
#include "table/table_dataset.h"

namespace geocalc {

class MainForm {
public:
    MainForm();

    TableDataset Table1;
    PointLists lists;  // ListBox1 .. ListBox4
    FileDialogSettings OpenDialog1;
    FileDialogSettings SaveDialog1;

    // "Рассчет" once a table has been opened; "Сохранить" once a calculation
    // has completed. Neither is disabled again.
    bool calculateEnabled() const { return calculateEnabled_; }
    bool saveEnabled() const { return saveEnabled_; }
    // Told whenever either changes.
    void setCommandsObserver(std::function<void()> observer) {
        commandsObserver_ = std::move(observer);
    }

    // "Открыть таблицу": the survey table picked in the open dialog is copied
    // to its working copy and opened.
    void Button1Click(const ShowFileDialog& showDialog);
    // A table named on the command line or dropped on the window: opened as
    // "Открыть таблицу" opens the file picked in its dialog.
    void openNamed(const std::string& path);
    // What Ctrl+C in a list copies: the selected entry (nothing without
    // one), in the side lines' list all its lines, CR LF between them.
    std::string copiedFrom(const TextList& list) const;
    // A double click on the grid, or Ctrl+Enter there: the current record,
    // as the file holds it now, becomes the next point.
    void DBGrid1DblClick();
    // Closing the window: typed text is applied and a changed record posted,
    // as a move to another record would; a failure leaves as an exception,
    // and the window then stays open with the edit. An untouched record is
    // left as it is.
    void FormCloseQuery(RecordGrid& grid);
    void Button3Click();  // "Очистить"
    void Button4Click();  // "Удалить": the selected point
    void Button5Click();  // "Рассчет"
    // "Сохранить": the results file, named in the save dialog, once the side
    // lines belong to the points as they stand.
    void Button6Click(const ShowFileDialog& showDialog);

private:
    void enable(bool& command);

    bool calculateEnabled_ = false;
    bool saveEnabled_ = false;
    std::function<void()> commandsObserver_;
};

}  // namespace geocalc
