// The program's file dialogs: extensions match whatever their case.

#include <QFileSystemModel>
#include <QListView>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include "app/ui/file_dialog.h"
#include "support/temp_folder.h"

namespace {

QStringList listed_names(QFileDialog& dialog, const QString& folder) {
    auto* model = dialog.findChild<QFileSystemModel*>();
    if (!model) return {};
    QSignalSpy loaded(model, &QFileSystemModel::directoryLoaded);
    dialog.setDirectory(folder);
    if (loaded.isEmpty()) loaded.wait(5000);
    QTest::qWait(50);  // the model sorts and filters after the load
    auto* view = dialog.findChild<QListView*>("listView");
    QStringList names;
    const QModelIndex root = view ? view->rootIndex() : QModelIndex();
    const QAbstractItemModel* shown = view ? view->model() : nullptr;
    if (!shown) return {};
    for (int row = 0; row < shown->rowCount(root); ++row) names << shown->index(row, 0, root).data().toString();
    names.sort();
    return names;
}

TEST(FileDialog, TheOpenFilterMatchesExtensionsWhateverTheirCase) {
    TempFolder folder;
    for (const char* name : {"IMG_0001.HDR", "scene.hdr", "mixed.Hdr", "notes.txt"}) write_file(folder / name, "x");
    FileDialogRequest request;
    request.title = "Open Image";
    request.filters = {{"HDR Images", "*.hdr;"}, {"PIC Images", "*.pic;"}};
    QFileDialog dialog;
    configure_file_dialog(dialog, request);
    EXPECT_EQ(dialog.nameFilters(), QStringList({"HDR Images (*.hdr)", "PIC Images (*.pic)"}));
    EXPECT_EQ(listed_names(dialog, QString::fromStdString(folder.str())),
              QStringList({"IMG_0001.HDR", "mixed.Hdr", "scene.hdr"}));
}

TEST(FileDialog, AFilterShowsItsPatternOnce) {
    FileDialogRequest request;
    request.title = "Save Image As";
    request.filters = {{"Radiance RGBE Image (*.hdr)", "*.hdr;"},
                       {"Bitmap Image (*.bmp)", "*.bmp;"},
                       {"Pictures", "*.hdr;*.pic;"}};
    EXPECT_EQ(qt_name_filters(request),
              QStringList({"Radiance RGBE Image (*.hdr)", "Bitmap Image (*.bmp)", "Pictures (*.hdr *.pic)"}));
    QFileDialog dialog;
    configure_file_dialog(dialog, request);
    EXPECT_EQ(dialog.nameFilters()[1], "Bitmap Image (*.bmp)");
}

}  // namespace
