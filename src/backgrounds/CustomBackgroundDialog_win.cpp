#include "backgrounds/CustomBackgroundDialog.h"

#include <commctrl.h>

#include <cstdio>
#include <vector>

#include "Dpi.h"
#include "Instrument.h"
#include "backgrounds/CustomImages.h"
#include "backgrounds/PictureTextures.h"
#include "settings/Profile.h"
#include "win/App.h"

namespace {

constexpr int DialogTemplate = 288;
constexpr UINT_PTR CycleTimer = 1;

enum Control {
    AddButton = 1008,
    HiddenRemove = 1009,
    HiddenRemoveAll = 1010,
    RemoveButton = 1011,
    RemoveAllButton = 1012,
    HiddenStop = 1013,
    OwnBox = 1014,
    PictureList = 1015,
    HiddenAdd = 1016,
    HiddenStart = 1017,
    IntervalBox = 1019,
    RepeatOneBox = 1023,
    RepeatAllBox = 1024,
    RandomBox = 1025,
};

constexpr COLORREF ListColour = 0x0082B8CF;
constexpr COLORREF ListTextColour = 0x00FF0000;

void SetRowText(HWND list, int row, int column, const char* text) {
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text);
    SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

}  // namespace

CustomBackgroundDialog::CustomBackgroundDialog() : win::StandingDialog(DialogTemplate) {}

CustomBackgroundDialog::~CustomBackgroundDialog() {
    if (hwnd_) {
        KillTimer(hwnd_, CycleTimer);
        DestroyWindow(hwnd_);
    }
    // The textures go with the OpenGL context, which the view has released by now.
}

BOOL CustomBackgroundDialog::OnInitDialog() {
    list = Item(PictureList);
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    SendMessageA(list, LVM_SETBKCOLOR, 0, ListColour);
    SendMessageA(list, LVM_SETTEXTBKCOLOR, 0, ListColour);
    SendMessageA(list, LVM_SETTEXTCOLOR, 0, ListTextColour);
    const struct {
        const char* title;
        int width;
    } columns[2] = {{"Backgrounds Directory", 430}, {"State", 50}};  // pixels at 96 DPI
    const DpiScale scale = DpiScale::System();
    for (int i = 0; i < 2; ++i) {
        LVCOLUMNA column = {};
        column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.fmt = LVCFMT_CENTER;
        column.cx = scale(columns[i].width);
        column.pszText = const_cast<char*>(columns[i].title);
        column.iSubItem = i;
        SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
    }

    ownBox.SubclassDlgItem(OwnBox, hwnd_);
    ownBox.setIcons(184, 183);
    ownBox.setCheck(false);
    LedCheckButton* modes[3] = {&repeatOneBox, &repeatAllBox, &randomBox};
    const int modeIds[3] = {RepeatOneBox, RepeatAllBox, RandomBox};
    for (int i = 0; i < 3; ++i) {
        modes[i]->SubclassDlgItem(modeIds[i], hwnd_);
        modes[i]->setColours(0x0000FF00, 0);
        modes[i]->setCheck(i == 0);
    }
    addButton.SubclassDlgItem(AddButton, hwnd_);
    removeButton.SubclassDlgItem(RemoveButton, hwnd_);
    removeAllButton.SubclassDlgItem(RemoveAllButton, hwnd_);
    SetDlgItemTextA(hwnd_, IntervalBox, "5");

    Load();
    SetTimer(hwnd_, CycleTimer, backgrounds::TickMs, nullptr);
    return TRUE;
}

INT_PTR CustomBackgroundDialog::DialogProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND:
        if (OnCommand(LOWORD(wParam), HIWORD(wParam), lParam)) return TRUE;
        break;
    case WM_TIMER:
        if (wParam == CycleTimer) {
            OnTick();
            return TRUE;
        }
        break;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom != PictureList) break;
        if (header->code == NM_CLICK) {
            const int row = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
            if (row >= 0) {
                int onRow = -1;
                cycle.currentPicture = cycle.Pick(row, true, &onRow);
                if (onRow >= 0) MarkOn(onRow);
            }
            return TRUE;
        }
        if (header->code == LVN_ENDLABELEDITA || header->code == LVN_ENDLABELEDITW) {
            SetResult(FALSE);  // an edited label is never accepted
            return TRUE;
        }
        break;
    }
    case WM_CTLCOLORSTATIC:
        SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        return reinterpret_cast<INT_PTR>(GetStockObject(NULL_BRUSH));
    default:
        break;
    }
    return win::StandingDialog::DialogProc(msg, wParam, lParam);
}

bool CustomBackgroundDialog::OnCommand(int id, int code, LPARAM lParam) {
    // The lamp boxes toggle themselves and then post their id without a window handle; the
    // button's own click notification (with the handle) is theirs.
    const bool fromLamp = lParam == 0;
    const bool clicked = code == BN_CLICKED;  // also STN_CLICKED of the hidden pictures
    switch (id) {
    case AddButton:
    case HiddenAdd:
        if (clicked) AddImage();
        return clicked;
    case RemoveButton:
    case HiddenRemove:
        if (clicked) RemoveSelected();
        return clicked;
    case RemoveAllButton:
    case HiddenRemoveAll:
        if (clicked) RemoveAll();
        return clicked;
    case HiddenStart:
        if (clicked) StartCycling();
        return clicked;
    case HiddenStop:
        if (clicked) StopCycling();
        return clicked;
    case OwnBox:
        if (!fromLamp) return false;
        if (ownBox.getCheck()) StartCycling();
        else if (cycle.cycling) StopCycling();
        return true;
    case RepeatOneBox:
    case RepeatAllBox:
    case RandomBox:
        if (!fromLamp) return false;
        SelectMode(id - RepeatOneBox);
        return true;
    default:
        return false;
    }
}

void CustomBackgroundDialog::Message(const std::string& text) {
    win::App* app = win::App::Current();
    MessageBoxA(IsWindowVisible(hwnd_) ? hwnd_ : nullptr, text.c_str(), app ? app->AppName() : "NerithScr", MB_OK);
}

int CustomBackgroundDialog::ItemCount() const {
    return list ? static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)) : 0;
}

std::string CustomBackgroundDialog::RowPath(int row) const {
    char text[1024] = {};
    LVITEMA item = {};
    item.iSubItem = 0;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return text;
}

namespace {
std::string LoadError(const std::string& path) { return "(" + path + ")" + "image loading error."; }
}  // namespace

CustomBackgroundDialog::AddOutcome CustomBackgroundDialog::AddPath(const std::string& path) {
    const int n = ItemCount();
    if (n >= backgrounds::MaxPictures) {
        char text[64];
        std::snprintf(text, sizeof text, "The maximum number of background is: %d", n);
        Message(text);
        return ListFull;
    }
    // An empty path (a gap in the stored list) names no picture.
    const unsigned texture = path.empty() ? 0 : backgrounds::LoadPicture(path.c_str());
    if (texture == 0) {
        instrument::Count("picture_errors");
        const std::string error = LoadError(path);
        // At start-up one message names every stored picture that fails (a whole folder gone with
        // an unplugged drive should not mean a box per picture, nor a picture dropped unnamed).
        if (!loadingStored) Message(error);
        else if (++storedErrors <= backgrounds::MaxPictures) storedErrorText += (storedErrors > 1 ? "\n" : "") + error;
        StopCycling();
        return LoadFailed;
    }
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = n;
    item.pszText = const_cast<char*>(path.c_str());
    const int row = static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    SetRowText(list, row, 1, "OFF");
    cycle.Append(texture);
    cycle.pictureCount = ItemCount();
    instrument::Count("pictures_added");
    return Added;
}

void CustomBackgroundDialog::AddImage() {
    const std::string file = win::AskOpenFile(hwnd_, "(*.jpg;*.bmp;*.png)\0*.jpg;*.bmp;*.png\0", MAX_PATH);
    if (file.empty()) return;
    AddPath(file);
    if (cycle.pictureCount == 1 && ownBox.getCheck()) StartCycling();
}

void CustomBackgroundDialog::RemoveSelected() {
    const int row = list ? static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED)) : -1;
    if (row >= 0) backgrounds::ReleasePicture(DropRow(row));
    const int onRow = cycle.RepickAfterRemoval();
    if (onRow >= 0) MarkOn(onRow);
}

void CustomBackgroundDialog::RemoveAll() {
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    for (int i = 0; i < cycle.pictureCount; ++i) backgrounds::ReleasePicture(cycle.pictures[i]);
    cycle.pictureCount = 0;
    for (unsigned& p : cycle.pictures) p = 0;
    cycle.currentPicture = 0;
}

void CustomBackgroundDialog::StartCycling() { cycle.StartCycling(); }

void CustomBackgroundDialog::StopCycling() {
    MarkOn(-1);
    cycle.StopCycling();
}

void CustomBackgroundDialog::SelectMode(int mode) {
    cycle.mode = mode;
    LedCheckButton* boxes[3] = {&repeatOneBox, &repeatAllBox, &randomBox};
    for (int i = 0; i < 3; ++i) {
        if (i == mode) boxes[i]->setCheck(true);
        else if (boxes[i]->getCheck()) boxes[i]->setCheck(false);
    }
}

// Every row "OFF", then `row` (if it exists) "ON".
void CustomBackgroundDialog::MarkOn(int row) {
    const int count = ItemCount();
    for (int i = 0; i < count; ++i) SetRowText(list, i, 1, i == row ? "ON" : "OFF");
}

unsigned CustomBackgroundDialog::TextureToDraw(unsigned builtIn) const {
    const unsigned texture = backgrounds::TextureToDraw(ownImageOn, cycle, builtIn);
    return backgrounds::PictureReady(texture) ? texture : builtIn;
}

unsigned CustomBackgroundDialog::DropRow(int row) {
    SendMessageA(list, LVM_DELETEITEM, static_cast<WPARAM>(row), 0);
    const unsigned texture = cycle.RemoveRow(row);
    cycle.pictureCount = ItemCount();
    return texture;
}

// The pictures the worker has decoded since the last tick go into their textures. Those that could
// not be decoded after all leave the list, as if adding them had failed, and one message names
// them. While it is open the ticks go on under it; the pictures they would finish wait for it.
void CustomBackgroundDialog::FinishLoading() {
    if (reporting) return;
    std::string errors;
    for (const unsigned texture : backgrounds::FinishPictures()) {
        const int row = cycle.RowOf(texture);
        if (row >= cycle.pictureCount) continue;
        const std::string path = RowPath(row);
        DropRow(row);
        if (cycle.currentPicture == texture) cycle.currentPicture = 0;
        instrument::Count("picture_errors");
        StopCycling();
        errors += (errors.empty() ? "" : "\n") + LoadError(path);
    }
    if (errors.empty()) return;
    reporting = true;
    Message(errors);
    reporting = false;
}

void CustomBackgroundDialog::OnTick() {
    FinishLoading();
    ownImageOn = ownBox.getCheck();
    if (!cycle.cycling) return;
    char text[32] = {};
    GetDlgItemTextA(hwnd_, IntervalBox, text, sizeof text);
    if (!cycle.Tick(backgrounds::ParseInterval(text))) return;
    if (cycle.currentPicture != 0) MarkOn(cycle.RowOf(cycle.currentPicture));
}

void CustomBackgroundDialog::Save() {
    backgrounds::CustomImages images;
    images.random = randomBox.getCheck();
    images.repeatAll = repeatAllBox.getCheck();
    images.repeatOne = repeatOneBox.getCheck();
    images.own = ownBox.getCheck();
    char text[128] = {};
    GetDlgItemTextA(hwnd_, IntervalBox, text, sizeof text);
    images.interval = text;
    const int count = ItemCount();
    for (int i = 0; i < count; ++i) images.paths.push_back(RowPath(i));
    backgrounds::SaveCustomImages(AppProfile(), images);
}

void CustomBackgroundDialog::Load() {
    RemoveSelected();  // the list is empty: clears the slots and the current picture
    const backgrounds::CustomImages stored = backgrounds::ReadCustomImageBoxes(AppProfile());
    randomBox.setCheck(stored.random);
    repeatAllBox.setCheck(stored.repeatAll);
    repeatOneBox.setCheck(stored.repeatOne);
    ownBox.setCheck(stored.own);
    SetDlgItemTextA(hwnd_, IntervalBox, stored.interval.c_str());
    // Stops after the first refusal of the maximum.
    loadingStored = true;
    storedErrors = 0;
    storedErrorText.clear();
    backgrounds::ForEachStoredPicture(AppProfile(), [this](const std::string& path) { return AddPath(path) != ListFull; });
    loadingStored = false;
    if (storedErrors > backgrounds::MaxPictures)
        storedErrorText += "\n(" + std::to_string(storedErrors - backgrounds::MaxPictures) + " more)";
    if (storedErrors > 0) Message(storedErrorText);
    if (!stored.random && !stored.repeatAll && !stored.repeatOne) repeatOneBox.setCheck(true);
    if (randomBox.getCheck()) SelectMode(backgrounds::RandomOrder);
    else if (repeatAllBox.getCheck()) SelectMode(backgrounds::RepeatAll);
    else SelectMode(backgrounds::RepeatOne);
    // Only a list that really holds pictures starts cycling: when every stored picture failed,
    // the box stays checked and the built-in picture shows.
    if (cycle.pictureCount > 0 && ownBox.getCheck()) StartCycling();
}
