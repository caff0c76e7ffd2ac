// The folder chooser of the bad ROM set audit, through the window's port.
#include <QApplication>
#include <QFileDialog>
#include <QTest>
#include <QTimer>

#include "view_fixture.h"

namespace lorvane::test {
namespace {

TEST(DialogsTest, FolderChooserShowsItsInstructionAndGivesThePathWithoutSlash) {
    TempDir dir;
    std::filesystem::create_directories(dir / "bad");
    MainWindow window(dir.Str());
    const std::string instruction = "Please select a folder to place all bad roms.";

    QString title;
    bool directoriesOnly = false;
    // Answers the next chooser: accepts the folder shown, or cancels when empty.
    const auto answer = [&](const std::string& folder) {
        QTimer::singleShot(0, [&, folder] {
            auto* chooser = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(chooser, nullptr);
            EXPECT_EQ(chooser->parentWidget(), &window);
            title = chooser->windowTitle();
            directoriesOnly = chooser->fileMode() == QFileDialog::Directory &&
                              chooser->testOption(QFileDialog::ShowDirsOnly);
            if (folder.empty()) return chooser->reject();
            chooser->setDirectory(QString::fromStdString(folder));
            static_cast<QDialog*>(chooser)->accept();
        });
    };

    answer((dir / "bad").string() + "/");
    EXPECT_EQ(window.BrowseForFolder(instruction), (dir / "bad").string());
    EXPECT_EQ(title.toStdString(), instruction);
    EXPECT_TRUE(directoriesOnly);

    answer("/");
    EXPECT_EQ(window.BrowseForFolder(instruction), "/");

    answer("");
    EXPECT_EQ(window.BrowseForFolder(instruction), "");
}

}  // namespace
}  // namespace lorvane::test
