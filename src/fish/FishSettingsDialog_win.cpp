#include "fish/FishSettingsDialog.h"

#include <cstdint>
#include <cstdio>

#include "assets/SoilLoader.h"

#include <windowsx.h>

namespace {
constexpr UINT_PTR SaveTimer = 1;
constexpr UINT SavePeriodMs = 500;
constexpr int PictureId = 129;        // 500 x 512, drawn as it is at 96 DPI
constexpr int LargePictureId = 130;   // the same picture at 1000 x 1024, a PNG

HBITMAP LoadBitmapResource(int id) {
    return static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, 0));
}

// The large picture, kept compressed in the program file, decoded into a bitmap.
HBITMAP LoadLargePicture() {
    HMODULE self = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(self, MAKEINTRESOURCEA(LargePictureId), MAKEINTRESOURCEA(10));  // RT_RCDATA
    HGLOBAL loaded = found ? LoadResource(self, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    nerith::SoilImage image;
    if (!bytes || !nerith::DecodeCheckedPicture(static_cast<const std::uint8_t*>(bytes),
                                                SizeofResource(self, found), nerith::PictureLimits{4096}, image) ||
        image.channels < 3)
        return nullptr;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biHeight = -image.height;  // top-down, as decoded
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) return nullptr;
    auto* out = static_cast<std::uint8_t*>(bits);
    const std::size_t count = static_cast<std::size_t>(image.width) * image.height;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* p = &image.pixels[i * image.channels];
        out[i * 4] = p[2];
        out[i * 4 + 1] = p[1];
        out[i * 4 + 2] = p[0];
        out[i * 4 + 3] = 0;
    }
    return bitmap;
}

// The species picture at the grid's scale. At 96 DPI the 500 x 512 bitmap as it is; otherwise the
// large one, shrunk once with halftone averaging unless it already has the size (200 %).
HBITMAP LoadPicture(const DpiScale& scale) {
    if (scale.isDesign()) return LoadBitmapResource(PictureId);
    HBITMAP source = LoadLargePicture();
    if (!source) source = LoadBitmapResource(PictureId);
    if (!source) return nullptr;
    BITMAP bm = {};
    GetObjectA(source, sizeof bm, &bm);
    const int w = scale(FishGrid::PictureWidth), h = scale(FishGrid::PictureHeight);
    if (bm.bmWidth == w && bm.bmHeight == h) return source;
    HDC screen = GetDC(nullptr);
    HBITMAP sized = CreateCompatibleBitmap(screen, w, h);
    HDC from = CreateCompatibleDC(screen), to = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    HGDIOBJ oldFrom = SelectObject(from, source), oldTo = SelectObject(to, sized);
    SetStretchBltMode(to, HALFTONE);
    SetBrushOrgEx(to, 0, 0, nullptr);  // as HALFTONE asks
    StretchBlt(to, 0, 0, w, h, from, 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
    SelectObject(to, oldTo);
    SelectObject(from, oldFrom);
    DeleteDC(to);
    DeleteDC(from);
    DeleteObject(source);
    return sized;
}
}  // namespace

FishSettingsDialog* FishSettingsDialog::active = nullptr;

FishSettingsDialog::FishSettingsDialog() : Dialog(TemplateId) {}

FishSettingsDialog::~FishSettingsDialog() { Finish(); }

BOOL FishSettingsDialog::OnInitDialog() {
    const int ids[6] = {AddButton, DeleteButton, RandomButton, ClearButton, IDOK, IDCANCEL};
    for (int i = 0; i < 6; ++i) buttons[i].SubclassDlgItem(ids[i], hwnd_);
    link.SubclassDlgItem(WebLink, hwnd_);
    // The template grew with its font; the picture, its cells and the clicks follow the screen's DPI.
    grid.scale = DpiScale::System();
    picture = LoadPicture(grid.scale);
    if (!grid.scale.isDesign()) {
        // The counts are written in the default font. Above 100 % it may come taller but no
        // wider (Wine keeps its 96-DPI width): the same font with the width its height asks for.
        LOGFONTA lf = {};
        if (GetObjectA(GetStockObject(SYSTEM_FONT), sizeof lf, &lf)) {
            lf.lfWidth = 0;
            numberFont = CreateFontIndirectA(&lf);
        }
    }

    grid.load();
    SetTimer(hwnd_, SaveTimer, SavePeriodMs, nullptr);
    SetDlgItemTextA(hwnd_, TotalLabel, grid.roster.totalText().c_str());

    // The dialog manager's own loop would give the letters to the focused button (or turn them
    // into its mnemonic): take them before it sees them.
    active = this;
    keyHook = SetWindowsHookExA(WH_MSGFILTER, &FishSettingsDialog::KeyFilter, nullptr, GetCurrentThreadId());
    return TRUE;
}

LRESULT CALLBACK FishSettingsDialog::KeyFilter(int code, WPARAM wParam, LPARAM lParam) {
    if (code == MSGF_DIALOGBOX && active && active->hwnd_) {
        const MSG* m = reinterpret_cast<const MSG*>(lParam);
        if (m->message == WM_KEYDOWN && (m->hwnd == active->hwnd_ || IsChild(active->hwnd_, m->hwnd)) &&
            active->OnLetterKey(m->wParam))
            return TRUE;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

bool FishSettingsDialog::OnLetterKey(WPARAM key) {
    switch (key) {  // virtual-key codes are the capital letters, shifted or not
    case 'A': Apply(grid.add()); return true;
    case 'D': Apply(grid.remove()); return true;
    case 'R': Apply(grid.randomize()); return true;
    case 'C': Apply(grid.clear()); return true;
    default: return false;
    }
}

void FishSettingsDialog::Apply(const Repaint& repaint) {
    // Every area lies on the picture, which paints each of its pixels: no erasing.
    for (int i = 0; i < repaint.count; ++i) {
        const CellRect& c = repaint.rects[i];
        const RECT rc = {c.left, c.top, c.right, c.bottom};
        InvalidateRect(hwnd_, &rc, FALSE);
    }
    SetDlgItemTextA(hwnd_, TotalLabel, grid.roster.totalText().c_str());
}

void FishSettingsDialog::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    if (picture) {
        BITMAP bm = {};
        GetObjectA(picture, sizeof bm, &bm);
        HDC memory = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(memory, picture);
        BitBlt(dc, 0, 0, bm.bmWidth, bm.bmHeight, memory, 0, 0, SRCCOPY);
        if (!grid.scale.isDesign()) {
            // The template grows with its font, which need not keep the DPI's proportions: carry
            // the picture's plain ground on where the dialog is larger (its left column, whose
            // shade depends on the height only, and its last row, the empty band).
            RECT client;
            GetClientRect(hwnd_, &client);
            if (client.right > bm.bmWidth)
                StretchBlt(dc, bm.bmWidth, 0, client.right - bm.bmWidth, bm.bmHeight, memory, 0, 0, 1, bm.bmHeight, SRCCOPY);
            if (client.bottom > bm.bmHeight)
                StretchBlt(dc, 0, bm.bmHeight, client.right, client.bottom - bm.bmHeight, memory, 0, bm.bmHeight - 1,
                           1, 1, SRCCOPY);
        }
        SelectObject(memory, old);
        DeleteDC(memory);
    }
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ oldFont = numberFont ? SelectObject(dc, numberFont) : nullptr;
    for (int i = 0; i < SpeciesCount; ++i) {
        char number[16];
        const int n = std::snprintf(number, sizeof number, "%d", grid.roster.counts[i]);
        TextOutA(dc, grid.numberX(i), grid.numberY(i), number, n);
    }
    if (oldFont) SelectObject(dc, oldFont);
    const int selected = grid.roster.selected;
    if (FishGrid::hasCell(selected)) {
        const CellRect c = grid.cell(selected);
        const int oldMode = SetROP2(dc, R2_NOT);  // the picture shows inverted inside the ellipse
        Ellipse(dc, c.left, c.top, c.right, c.bottom);
        SetROP2(dc, oldMode);
    }
    EndPaint(hwnd_, &ps);
}

void FishSettingsDialog::OnOK() {
    grid.roster.save();
    EndDialog(IDOK);
}

// Everything the dialog holds beyond its window: the key filter, the picture and the font.
void FishSettingsDialog::Finish() {
    if (keyHook) UnhookWindowsHookEx(keyHook);
    keyHook = nullptr;
    if (active == this) active = nullptr;
    if (picture) DeleteObject(picture);
    picture = nullptr;
    if (numberFont) DeleteObject(numberFont);
    numberFont = nullptr;
}

INT_PTR FishSettingsDialog::DialogProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT:
        OnPaint();
        return TRUE;
    case WM_LBUTTONDOWN:
        Apply(grid.click(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
        return TRUE;
    case WM_LBUTTONDBLCLK:
        Apply(grid.add());
        return TRUE;
    case WM_RBUTTONDBLCLK:
        Apply(grid.remove());
        return TRUE;
    case WM_KEYDOWN:
        if (OnLetterKey(wParam)) return TRUE;
        break;
    case WM_TIMER:
        if (wParam != SaveTimer) break;
        grid.roster.save();
        return TRUE;
    case WM_CLOSE:  // the close box saves like OK
        OnOK();
        return TRUE;
    case WM_COMMAND: {
        // The link's click never comes here: the link handles it itself (see Window.h).
        if (HIWORD(wParam) != BN_CLICKED) break;
        switch (LOWORD(wParam)) {
        case AddButton: Apply(grid.add()); return TRUE;
        case DeleteButton: Apply(grid.remove()); return TRUE;
        case RandomButton: Apply(grid.randomize()); return TRUE;
        case ClearButton: Apply(grid.clear()); return TRUE;
        default: break;
        }
        break;
    }
    case WM_CTLCOLORSTATIC:
        if (reinterpret_cast<HWND>(lParam) == Item(TotalLabel)) {
            HDC dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, TotalText);
            SetBkColor(dc, TotalBackground);
            SetDCBrushColor(dc, TotalBackground);
            return reinterpret_cast<INT_PTR>(GetStockObject(DC_BRUSH));
        }
        break;
    case WM_DESTROY:
        KillTimer(hwnd_, SaveTimer);
        Finish();
        break;
    default:
        break;
    }
    return Dialog::DialogProc(msg, wParam, lParam);
}
