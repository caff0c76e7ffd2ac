#pragma once
// The snapshot pane on Windows: a child window that shows a PNG picture given its
// path, decoded with the Windows Imaging Component and drawn scaled to fit
// (aspect kept) on white; "about:blank" shows the white pane alone.
#include <windows.h>

#include <string>

namespace lorvane::ui::win32 {

class PicturePane {
public:
    PicturePane() = default;
    ~PicturePane();
    PicturePane(const PicturePane&) = delete;
    PicturePane& operator=(const PicturePane&) = delete;

    bool Create(HWND parent, int id, const RECT& bounds);
    HWND Handle() const { return hwnd_; }

    // A picture file's path (a relative one against the current directory) or
    // "about:blank". A file that cannot be decoded leaves the pane empty.
    void Navigate(const std::string& target);
    const std::string& Page() const { return page_; }

    // Whether this system can decode PNG pictures at all.
    static bool CanShowPictures();

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    void Paint();
    void DropPicture();

    HWND hwnd_ = nullptr;
    HBITMAP picture_ = nullptr;  // 32 bits a pixel, premultiplied alpha
    int pictureWidth_ = 0;
    int pictureHeight_ = 0;
    std::string page_;
};

}  // namespace lorvane::ui::win32
