#include "main_form.h"

#include "game_list.h"
#include "platform_paths.h"
#include "settings.h"

namespace lorvane {
namespace {

// Runs a step that fills the list and tells the user what stopped it: a data
// file that cannot be read sends them to the menu command that creates it.
// Entries loaded before a failure stay; the window stays open.
template <typename Fn>
void FillingTheList(MAIN_form& form, UiPort& ui, Fn&& fill) {
    try {
        fill();
    } catch (const Frontend_code::DataFileFailure&) {
        Frontend_code::ReportNoDataFile(ui);
    } catch (const Failure& f) {
        form.ReportFailure(f);
    }
}

}  // namespace

MAIN_form::MAIN_form(std::string appDir, UiPort& ui) : appDir_(std::move(appDir)), ui_(ui) {
    while (appDir_.size() > 1 && IsPathSeparator(appDir_.back())) appDir_.pop_back();
}

void MAIN_form::MsgBox(const std::string& text, MsgIcon icon) { ui_.MsgBox(text, kAppTitle, icon); }

void MAIN_form::MsgBox(const std::string& text, const std::string& title, MsgIcon icon) {
    ui_.MsgBox(text, title.empty() ? std::string(kAppTitle) : title, icon);
}

void MAIN_form::ReportError(std::int32_t number, const std::string& description) {
    MsgBox("An Error has occured Err.number = " + std::to_string(number) + " Err.description = " + description,
           "An Error has occurred", MsgIcon::Critical);
}

void MAIN_form::ReportFailure(const Failure& failure) { ReportError(failure.Number(), failure.Description()); }

void MAIN_form::RebuildList() {
    FillingTheList(*this, ui_, [this] { Frontend_code::StartFrontend(*this); });
}

std::string AboutText() {
    return "Dunmere v1.6\r\n"
           "By the Lorvane developers\r\n"
           "For information on MAME please visit https://www.mamedev.org/\r\n"
           "For more feature rich frontends for use with M.A.M.E please visit\r\n"
           "https://github.com/topics/mame-launcher";
}

void MAIN_form::This_frontend_Click() { MsgBox(AboutText(), "Dunmere", MsgIcon::Information); }

void MAIN_form::create_def_ini_Click() {
    try {
        Clean_code::WriteDefaultSettings(appDir_);
        Clean_code::LoadSettings(*this);
    } catch (const Failure& f) {
        ReportFailure(f);
    }
    RefreshView();
}

void MAIN_form::MAKE_GAME_LIST_Click() {
    FillingTheList(*this, ui_, [this] { Frontend_code::CreateGameDataFile(*this); });
    RefreshView();
}

}  // namespace lorvane
