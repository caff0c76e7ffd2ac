// lorvane.exe as a user meets it, driven from outside through window messages:
// the start-up's dialogs, the list, type-ahead and Enter, a failed check, the
// audit with the shell's folder dialog, the export, the preview and the About box.
#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cwchar>
#include <filesystem>
#include <string>
#include <vector>

#include "form/menu.h"
#include "platform/wide_text.h"
#include "support/standin.h"
#include "support/temp_dir.h"
#include "ui/win32/window_ids.h"
#include "window_driver.h"

namespace lorvane::ui::win32 {
namespace {

namespace fs = std::filesystem;
using namespace test;
using form::Command;
using platform::win32::Utf8;
using platform::win32::Wide;

const std::string kListing =
    "Name:             Description:\r\n"
    "galaga            \"Galaga (Namco rev. B)\"\r\n"
    "pacman            \"Pac-Man (Midway)\"\r\n"
    "zaxxon            \"Zaxxon (set 1)\"\r\n"
    "dkong             \"Donkey Kong (US set 1)\"\r\n"
    "gallag            \"Gallag\"\r\n";
const std::vector<std::string> kEntries = {"Donkey Kong (US set 1)    [dkong]",
                                           "Galaga (Namco rev. B)    [galaga]",
                                           "Gallag    [gallag]", "Pac-Man (Midway)    [pacman]"};
const std::string kPatient =
    "Please be patient as the data file is created.  This should take approx. 5 seconds and "
    "only needs to be generated once for each new beta.";
const std::string kGood = "romset galaga is good\r\n1 romsets found, 1 were OK.\r\n";

// A 2 x 1 PNG picture (one red and one blue pixel).
const std::string kPng(
    "\x89\x50\x4e\x47\x0d\x0a\x1a\x0a\x00\x00\x00\x0d\x49\x48\x44\x52"
    "\x00\x00\x00\x02\x00\x00\x00\x01\x08\x02\x00\x00\x00\x7b\x40\xe8"
    "\xdd\x00\x00\x00\x0d\x49\x44\x41\x54\x78\x9c\x63\xf8\xcf\x00\x04"
    "\xff\x01\x07\x00\x01\xff\xe2\x23\x9e\x59\x00\x00\x00\x00\x49\x45\x4e\x44\xae\x42\x60\x82",
    70);

std::string Program() {
    std::string path = LORVANE_EXE;
    // A Unix path from the build, as Wine sees it: the root is drive Z:.
    if (!path.empty() && path.front() == '/') path = "Z:" + path;
    return path;
}

// The folder the test works in. Under Wine the Unix /tmp (drive Z:) is used:
// the way to it from the desktop in the folder dialog has no hidden folder.
fs::path WorkBase() {
    return fs::is_directory("Z:\\tmp") ? fs::path("Z:\\tmp") : fs::temp_directory_path();
}

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (StandInProgram().empty())
            GTEST_SKIP() << "this build has no stand-in emulator for Windows";
        // A blank and a letter outside ASCII on the way: the program's paths are wide.
        app_ = work_.Path() / fs::path(u8"app \u00e9t\u00e9");
        fs::create_directories(app_ / "roms");
        fs::copy_file(Program(), app_ / "lorvane.exe");
    }
    // The emulator as `name`, with its listing and the sets present.
    void Emulator(const std::string& name) {
        InstallStandIn(app_, name);
        WriteFile(app_ / (name + ".listfull"), kListing);
        fs::create_directories(app_ / (name + ".verify"));
        for (const char* set : {"galaga", "pacman", "dkong", "gallag"})
            WriteFile(app_ / "roms" / (set + std::string(".zip")), "PK");
    }
    // A folder that has run once: settings with the joystick index, the data file.
    void Prepared(int joy, bool preview = false) {
        Emulator("mame.exe");
        WriteFile(app_ / "LVN.ini",
                  "[Settings]\r\nMAME NAME=mame.exe\r\nData File Name=LVN_LIST.txt\r\nJoy=" +
                      std::to_string(joy) + "\r\nPreview_on=" + (preview ? "True" : "False") +
                      "\r\n");
        WriteFile(app_ / "LVN_LIST.txt", kListing + "\r\n");
    }
    // Confirms the next dialog after checking its title and text.
    void Expect(LorvaneSession& s, const std::string& title, const std::string& text) {
        const Dialog d = s.WaitForDialog(title);
        EXPECT_EQ(d.Text(), text) << "in the dialog \"" << title << "\"";
        s.Click(d, "OK");
    }
    std::string Args() { return StandInArgs(app_, "mame.exe"); }
    bool WaitForArgs(const std::string& expected) {
        return WaitUntil([&] { return Args() == expected; }, 10s);
    }

    TempDir work_{WorkBase()};
    fs::path app_;
};

TEST_F(WindowTest, FirstStartInAFolderWithOnlyTheEmulator) {
    Emulator("mame.exe");
    LorvaneSession s(app_ / "lorvane.exe");
    EXPECT_EQ(s.Caption(), "LorvaneW");
    Expect(s, "Generating LVN.ini", "LVN.ini not found.  A new one will be generated");
    // "MAME.exe" of the defaults names mame.exe: Windows ignores letter case.
    Expect(s, "Generating Game Data file", "LVN_LIST.txt not found.  A new one will be generated.");
    Expect(s, "Please be Patient", kPatient);
    ASSERT_TRUE(s.WaitForCaption("romcount")) << s.Caption() << s.Describe();
    EXPECT_EQ(s.Caption(), "Lorvane   (romcount = 4)");
    EXPECT_EQ(s.Entries(), kEntries);
    // The files written are form.MainFormTest's to check, on Windows as well.
    EXPECT_TRUE(s.OpenDialogs().empty()) << s.OpenDialogs().front().title;
    EXPECT_FALSE(IsWindowVisible(s.Control(kSnapshotPaneId))) << "the preview is off";
    EXPECT_EQ(s.ControlText(kEmulatorNameBoxId), "MAME.exe");
    // The window's icon is the program's icon resource, in both sizes. (Wine
    // does not give another process a window's class icon, so it is read from
    // the program file.)
    HMODULE file = LoadLibraryExW((app_ / "lorvane.exe").wstring().c_str(), nullptr,
                                  LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_TRUE(file);
    for (const int size : {32, 16}) {
        HICON icon =
            static_cast<HICON>(LoadImageW(file, MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, 0));
        ICONINFO info{};
        ASSERT_TRUE(icon && GetIconInfo(icon, &info)) << "no icon of " << size << " pixels";
        BITMAP colour{};
        GetObjectW(info.hbmColor, sizeof colour, &colour);
        EXPECT_EQ(colour.bmWidth, size);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
    FreeLibrary(file);
}

TEST_F(WindowTest, TheQuestionForTheEmulatorsName) {
    Emulator("arcade.exe");
    {
        LorvaneSession s(app_ / "lorvane.exe");
        Expect(s, "Generating LVN.ini", "LVN.ini not found.  A new one will be generated");
        const Dialog ask = s.WaitForDialog("Enter your mame executable name.");
        EXPECT_EQ(ask.Text(),
                  "MAME was not found in the same directory as LVN.\r\n  What is your MAME "
                  "executable names?(include .exe)");
        s.SetEditText(ask, "arcade.exe");
        s.Click(ask, "OK");
        Expect(s, "Generating Game Data file",
               "LVN_LIST.txt not found.  A new one will be generated.");
        Expect(s, "Please be Patient", kPatient);
        ASSERT_TRUE(s.WaitForCaption("romcount = 4")) << s.Caption() << s.Describe();
        EXPECT_EQ(s.ControlText(kEmulatorNameBoxId), "arcade.exe");
    }
    EXPECT_NE(ReadFile(app_ / "LVN.ini").find("MAME NAME=arcade.exe\r\n"), std::string::npos);

    // Cancel: the program says it found no emulator, and ends.
    fs::remove(app_ / "LVN.ini");
    fs::remove(app_ / "arcade.exe");
    LorvaneSession s(app_ / "lorvane.exe");
    Expect(s, "Generating LVN.ini", "LVN.ini not found.  A new one will be generated");
    s.Click(s.WaitForDialog("Enter your mame executable name."), "Cancel");
    Expect(s, "MAME Executable not found!",
           "The MAME executable was not found in the same Directory as LVN.exe");
    EXPECT_TRUE(s.WaitForExit(std::chrono::seconds(10)));
}

TEST_F(WindowTest, TypeAheadAndEnterStartTheGameWithTheJoystickOption) {
    Prepared(0);
    WriteFile(app_ / "mame.exe.verify" / "gallag", kGood);
    WriteFile(app_ / "LVN_LIST.txt",
              kListing + "ete               \"\xc3\x89t\xc3\xa9 \xc3\xa0 Paris\"\r\n\r\n");
    WriteFile(app_ / "roms" / "ete.zip", "PK");
    LorvaneSession s(app_ / "lorvane.exe");
    ASSERT_TRUE(s.WaitForCaption("romcount = 5")) << s.Caption() << s.Describe();

    s.Type("ga");
    EXPECT_EQ(s.EditText(), "Galaga (Namco rev. B)    [galaga]");
    EXPECT_EQ(s.EditSelection(), std::make_pair(2, 33)) << "the completed rest is selected";
    EXPECT_EQ(s.SelectedIndex(), 1);
    EXPECT_EQ(s.SelectedIndex(), s.FindString("ga")) << "the list control finds the same entry";
    s.Type("lx");
    EXPECT_EQ(s.EditText(), "Galx") << "no entry: the typed text stays";
    EXPECT_EQ(s.EditSelection(), std::make_pair(4, 4));
    EXPECT_EQ(s.SelectedIndex(), -1);
    s.Type("\b");
    s.Type("l");
    EXPECT_EQ(s.EditText(), "Gallag    [gallag]");
    EXPECT_EQ(s.SelectedIndex(), 2);

    // Letters beyond ASCII: the field counts UTF-16 units, the list's model bytes.
    s.ClearEdit();
    s.Type("\xc3\x89t");
    EXPECT_EQ(s.EditText(), "\xc3\x89t\xc3\xa9 \xc3\xa0 Paris    [ete]");
    EXPECT_EQ(s.EditSelection(), std::make_pair(2, 20));
    EXPECT_EQ(s.SelectedIndex(), 4);
    s.ClearEdit();
    s.Type("gall");
    EXPECT_EQ(s.SelectedIndex(), 2);

    // Mode 0 of LVN.ini reaches the emulator as its option.
    s.PressEnter();
    ASSERT_TRUE(WaitForArgs("gallag\t-joy\t-verifyroms\ngallag\t-joy\n")) << Args();

    // Another joystick mode reaches the next start.
    // Input, its fourth item: the menus in their order, opened by keyboard.
    s.MenuKeys({VK_RIGHT, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN});
    s.PressEnter();
    ASSERT_TRUE(WaitForArgs(
        "gallag\t-joy\t-verifyroms\ngallag\t-joy\ngallag\t-hotrod\t-verifyroms\ngallag\t-hotrod\n"))
        << Args();
    EXPECT_NE(ReadFile(app_ / "LVN.ini").find("Joy=2\r\n"), std::string::npos)
        << "saved at the launch";
    EXPECT_TRUE(s.OpenDialogs().empty());

    // A failed check shows the emulator's report, its line end as the C
    // runtime writes it to a pipe, and starts nothing.
    s.ClearEdit();
    s.Type("d");
    EXPECT_EQ(s.SelectedIndex(), 0);
    s.PressEnter();
    const Dialog report = s.WaitForDialog("Rom Error Info");
    EXPECT_TRUE(report.Text() == "romset \"dkong\" not found!\n" ||
                report.Text() == "romset \"dkong\" not found!\r\n")
        << report.Text();
    s.Click(report, "OK");
    EXPECT_TRUE(
        WaitForArgs("gallag\t-joy\t-verifyroms\ngallag\t-joy\ngallag\t-hotrod\t-verifyroms\n"
                    "gallag\t-hotrod\ndkong\t-hotrod\t-verifyroms\n"))
        << Args();
}

// Cancel in the progress window ends an audit whose checks hang, nothing moved;
// the next audit moves the bad set into the folder chosen in the shell's dialog.
TEST_F(WindowTest, TheAuditCancelledThenMovingABadSet) {
    Prepared(1);
    for (const char* set : {"galaga", "pacman", "gallag"})
        WriteFile(app_ / "mame.exe.verify" / set,
                  "romset " + std::string(set) + " is good\r\n1 romsets found, 1 were OK.\r\n");
    WriteFile(app_ / "mame.exe.mode", "hang");  // every check hangs
    const fs::path bad = work_.Path() / "bad sets";
    fs::create_directories(bad);
    LorvaneSession s(app_ / "lorvane.exe");
    ASSERT_TRUE(s.WaitForCaption("romcount = 4")) << s.Caption() << s.Describe();
    // Up to the folder picked; its path as the program tells it.
    const auto startAudit = [&] {
        s.Menu(Command::MoveBadRomSets);
        Expect(s, "Please Note",
               "This Rom audit will currently only audit the first rom path located in your "
               "MAME.ini.");
        Expect(s, "Warning this could take a while",
               "WARNING this will take a while if there are a lot of roms to check.\r\n"
               "Press cancel on the folder select screen to abort the audit before it begins.");
        const Dialog picker = s.WaitForDialog();
        EXPECT_NE(picker.Text().find("Please select a folder to place all bad roms."),
                  std::string::npos)
            << picker.Text();
        ChooseFolderInDialog(picker, s.Pid(), bad);
        const Dialog selected = s.WaitForDialog("LVN");
        EXPECT_EQ(selected.Text().rfind("Folder selected was: ", 0), 0u) << selected.Text();
        s.Click(selected, "OK");
        return fs::path(selected.Text().substr(21));
    };
    startAudit();
    const Dialog progress = s.WaitForProgress();
    EXPECT_EQ(progress.title, "Auditing rom sets");
    EXPECT_FALSE(IsWindowEnabled(s.Main())) << "the progress window is modal";
    s.Click(progress, "Cancel");
    const Dialog cancelled = s.WaitForDialog("Rom audit cancelled");
    EXPECT_EQ(cancelled.Text().rfind("The rom audit was cancelled after 0 of 4 sets were checked: "
                                     "0 bad, 0 of them moved to ",
                                     0),
              0u)
        << cancelled.Text();
    s.Click(cancelled, "OK");
    EXPECT_TRUE(IsWindowEnabled(s.Main()));
    EXPECT_EQ(ListDir(app_ / "roms"), "dkong.zip galaga.zip gallag.zip pacman.zip");

    fs::remove(app_ / "mame.exe.mode");
    const fs::path chosen = startAudit();
    EXPECT_TRUE(fs::equivalent(chosen, bad)) << chosen;
    Expect(s, "Bad roms found", "1 bad roms found.");
    Expect(s, "LVN", "All Bad roms moved to " + chosen.string() + ".\r\nSummary Report Written");
    EXPECT_TRUE(fs::exists(bad / "dkong.zip"));
    EXPECT_FALSE(fs::exists(app_ / "roms" / "dkong.zip"));
    EXPECT_NE(ReadFile(bad / "BadRoms.txt").find("dkong"), std::string::npos);
    ASSERT_TRUE(s.WaitForCaption("romcount = 3")) << "the list is rebuilt: " << s.Caption();
}

TEST_F(WindowTest, ExportPreviewAndAbout) {
    Prepared(1);
    fs::create_directories(app_ / "snap");
    WriteFile(app_ / "snap" / "galaga.png", kPng);
    LorvaneSession s(app_ / "lorvane.exe");
    ASSERT_TRUE(s.WaitForCaption("romcount = 4")) << s.Caption() << s.Describe();

    s.Menu(Command::ExportAvailableGames);
    Expect(s, "Summary Report Written", "Available Rom list exported to AvailROM.txt ");
    std::string exported;
    for (const std::string& e : kEntries) exported += e + "\r\n";
    EXPECT_EQ(ReadFile(app_ / "AvailROM.txt"), exported + "\r\n");

    // The preview follows selections by arrow key, not by type-ahead.
    HWND pane = s.Control(kSnapshotPaneId);
    s.MenuAndWait(Command::TogglePreview);
    EXPECT_TRUE(IsWindowVisible(pane));
    s.Type("gal");
    EXPECT_EQ(s.ControlText(kSnapshotPaneId), "") << "type-ahead shows no picture";
    SendMessageW(s.ComboEdit(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(s.SelectedIndex(), 2);
    EXPECT_EQ(s.ControlText(kSnapshotPaneId), "") << "gallag has no snapshot";
    SendMessageW(s.ComboEdit(), WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(s.SelectedIndex(), 1);
    const std::string page = s.ControlText(kSnapshotPaneId);
    EXPECT_TRUE(page.size() > 15 && (page.substr(page.size() - 15) == "snap\\galaga.png" ||
                                     page.substr(page.size() - 15) == "snap/galaga.png"))
        << "the picture was not shown: \"" << page << "\"";
    s.MenuAndWait(Command::TogglePreview);
    EXPECT_FALSE(IsWindowVisible(pane));

    s.MenuKeys({VK_RIGHT, VK_RIGHT, VK_DOWN, VK_RETURN});
    const Dialog about = s.WaitForDialog("Dunmere");
    EXPECT_EQ(about.Text().rfind("Dunmere v1.6\r\nBy ", 0), 0u) << about.Text();
    s.Click(about, "OK");
}

// The project's version (CMakeLists.txt) in Windows' four numbers: 1.6 is 1.6.0.0.
std::string FourPartVersion() {
    std::string version = LORVANE_PROJECT_VERSION;
    for (auto parts = std::count(version.begin(), version.end(), '.') + 1; parts < 4; ++parts)
        version += ".0";
    return version;
}

std::string Numbers(DWORD high, DWORD low) {
    return std::to_string(HIWORD(high)) + "." + std::to_string(LOWORD(high)) + "." +
           std::to_string(HIWORD(low)) + "." + std::to_string(LOWORD(low));
}

// What Explorer's Properties and the task manager show of the file, read back
// as they read it; and the manifest the program runs with.
TEST(ProgramFile, DescribesItselfWithTheProjectsVersion) {
    const std::wstring file = Wide(Program());
    DWORD unused = 0;
    const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &unused);
    ASSERT_GT(size, 0u) << "no version resource: system error " << GetLastError();
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoW(file.c_str(), 0, size, info.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(FourPartVersion(), "1.6.0.0");
    EXPECT_EQ(Numbers(fixed->dwFileVersionMS, fixed->dwFileVersionLS), FourPartVersion());
    EXPECT_EQ(Numbers(fixed->dwProductVersionMS, fixed->dwProductVersionLS), FourPartVersion());
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

    // The texts in the language and code page the resource names for itself.
    struct Translation {
        WORD language, codePage;
    }* translation = nullptr;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &length) &&
                length >= sizeof *translation);
    wchar_t block[64];
    std::swprintf(block, 64, L"\\StringFileInfo\\%04x%04x\\", translation->language,
                  translation->codePage);
    auto text = [&](const wchar_t* name) {
        wchar_t* value = nullptr;
        UINT chars = 0;
        if (!VerQueryValueW(info.data(), (block + std::wstring(name)).c_str(),
                            reinterpret_cast<void**>(&value), &chars) ||
            !value)
            return std::string("(none)");
        return Utf8(value);
    };
    EXPECT_EQ(text(L"ProductName"), "Lorvane");
    EXPECT_EQ(text(L"FileVersion"), FourPartVersion());
    EXPECT_EQ(text(L"ProductVersion"), FourPartVersion());
    EXPECT_EQ(text(L"OriginalFilename"), "lorvane.exe");
    EXPECT_EQ(text(L"FileDescription"), "Lorvane, a front end for the MAME emulator");
    EXPECT_EQ(text(L"LegalCopyright").rfind("Copyright (C) ", 0), 0u) << text(L"LegalCopyright");

    // The manifest: the same version, Windows 7 to 11, per-monitor DPI awareness.
    HMODULE image = LoadLibraryExW(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(image);
    HRSRC found = FindResourceW(image, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));  // RT_MANIFEST
    ASSERT_TRUE(found);
    const std::string manifest(static_cast<const char*>(LockResource(LoadResource(image, found))),
                               SizeofResource(image, found));
    FreeLibrary(image);
    EXPECT_NE(manifest.find("name=\"Lorvane\" version=\"" + FourPartVersion() + "\""),
              std::string::npos);
    for (const char* windows : {"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",   // 7
                                "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",   // 8
                                "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",   // 8.1
                                "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"})  // 10 and 11
        EXPECT_NE(manifest.find(std::string("<supportedOS Id=\"") + windows + "\"/>"),
                  std::string::npos)
            << windows;
    EXPECT_NE(manifest.find(">PerMonitorV2, PerMonitor</dpiAwareness>"), std::string::npos);
}

// The libraries the program names in its import table, read from the file:
// the system loads these (and what they import) before the first screen.
std::vector<std::string> ImportedLibraries(const std::wstring& file) {
    std::vector<std::string> names;
    HMODULE image = LoadLibraryExW(file.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
    if (!image) return names;
    const auto* base = reinterpret_cast<const BYTE*>(image);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress);
         dir.VirtualAddress && d->Name; ++d) {
        std::string name = reinterpret_cast<const char*>(base + d->Name);
        std::transform(name.begin(), name.end(), name.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        names.push_back(name);
    }
    FreeLibrary(image);
    std::sort(names.begin(), names.end());
    return names;
}

// COM, the shell and the picture decoder are loaded when first used: the
// first screen needs none of them, and loading them slows every start.
TEST(ProgramFile, LoadsNeitherComNorTheShellAtStart) {
    const std::vector<std::string> imports = ImportedLibraries(Wide(Program()));
    ASSERT_FALSE(imports.empty());
    std::string listed;
    for (const std::string& name : imports) listed += name + " ";
    for (const char* late : {"ole32.dll", "oleaut32.dll", "shell32.dll", "windowscodecs.dll",
                             "shlwapi.dll", "msimg32.dll"})
        EXPECT_EQ(std::count(imports.begin(), imports.end(), late), 0) << late << " in " << listed;
    EXPECT_EQ(std::count(imports.begin(), imports.end(), "comctl32.dll"), 1) << listed;
}

}  // namespace
}  // namespace lorvane::ui::win32
