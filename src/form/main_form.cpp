#include "form/main_form.h"

#include "output/results_file.h"
#include "points/lists_traverse.h"
#include "table/survey_table.h"

namespace geocalc {

namespace {

// The dialogs' filters as the window shows them, in Windows-1251:
// "Таблица даных (*.dat)" and "Текст (*.txt)".
constexpr const char* kTableFilter = "\xD2\xE0\xE1\xEB\xE8\xF6\xE0 \xE4\xE0\xED\xFB\xF5 (*.dat)";
constexpr const char* kTextFilter = "\xD2\xE5\xEA\xF1\xF2 (*.txt)";
// "Координаты текстом (*.txt;*.csv)": points kept as text open as tables.
constexpr const char* kPointTextFilter =
    "\xCA\xEE\xEE\xF0\xE4\xE8\xED\xE0\xF2\xFB \xF2\xE5\xEA\xF1\xF2\xEE\xEC (*.txt;*.csv)";
// "Данные прибора (*.gsi)": a total station's GSI records.
constexpr const char* kInstrumentFilter =
    "\xC4\xE0\xED\xED\xFB\xE5 \xEF\xF0\xE8\xE1\xEE\xF0\xE0 (*.gsi)";
// "Все файлы (*.*)": a table need not be named .dat.
constexpr const char* kAnyFileFilter = "\xC2\xF1\xE5 \xF4\xE0\xE9\xEB\xFB (*.*)";

}  // namespace

MainForm::MainForm()
    : OpenDialog1{FileDialogSettings::Kind::Open,
                  kTableFilter,
                  {kPointTextFilter, kInstrumentFilter, kAnyFileFilter},
                  "",
                  ""},
      SaveDialog1{FileDialogSettings::Kind::Save, kTextFilter, {}, "txt", "*.txt", true} {}

void MainForm::enable(bool& command) {
    if (command) return;
    command = true;
    if (commandsObserver_) commandsObserver_();
}

void MainForm::Button1Click(const ShowFileDialog& showDialog) {
    const std::optional<std::string> picked = showDialog(OpenDialog1);
    if (!picked) return;
    // The dialog's file name becomes the working copy's, also when the open
    // fails after the copy.
    OpenDialog1.fileName = *picked;
    OpenDialog1.fileName = copyToWorkingCopy(*picked, Table1);
    openWorkingCopy(OpenDialog1.fileName, Table1);
    enable(calculateEnabled_);
}

void MainForm::openNamed(const std::string& path) {
    Button1Click([&path](const FileDialogSettings&) { return std::optional<std::string>(path); });
}

std::string MainForm::copiedFrom(const TextList& list) const {
    if (&list != &lists.sides)
        return list.selectedIndex() >= 0 ? list.at(list.selectedIndex()) : std::string();
    std::string lines;
    for (int i = 0; i < list.count(); ++i) lines += (i > 0 ? "\r\n" : "") + list.at(i);
    return lines;
}

void MainForm::DBGrid1DblClick() {
    Table1.refresh();
    // The point as the file holds it now, whoever wrote it; never a record
    // another program deleted.
    const std::string record = Table1.standingRecord();
    appendPoint(lists, [&](int field) { return Table1.fieldTextOf(record, field); });
}

void MainForm::FormCloseQuery(RecordGrid& grid) {
    grid.applyEditor();
    if (Table1.modified()) Table1.post();
}

void MainForm::Button3Click() { clearLists(lists); }

void MainForm::Button4Click() { deleteSelectedPoint(lists); }

void MainForm::Button5Click() {
    runTraverse(lists);
    enable(saveEnabled_);
}

void MainForm::Button6Click(const ShowFileDialog& showDialog) {
    requireSidesMatchPoints(lists);
    const std::optional<std::string> path = showDialog(SaveDialog1);
    if (!path) return;
    SaveDialog1.fileName = *path;
    writeResultsFile(*path, lists);
}

}  // namespace geocalc
