#include "music/CustomMusicDialog.h"

#include <commctrl.h>

#include <vector>

#include "Dpi.h"
#include "music/BuiltinMusic.h"
#include "music/MusicListFile.h"
#include "music/TrackChoice.h"
#include "settings/Profile.h"
#include "settings/RegistryVolume.h"
#include "Instrument.h"
#include "win/App.h"

int playingRow = -1;

namespace {
constexpr UINT_PTR PollTimer = 1;
constexpr UINT PollMs = 200;
constexpr COLORREF ListBack = 0x0082B8CF;
constexpr COLORREF RowBack = 0x0082B8C4;
constexpr COLORREF PlayingBack = 0x0000FF00;
constexpr COLORREF RowText = 0x00FF0000;
constexpr int EditingButtons[] = {CustomMusicDialog::AddId, CustomMusicDialog::RemoveId,
                                  CustomMusicDialog::RemoveAllId, CustomMusicDialog::PlayId};
}  // namespace

CustomMusicDialog::~CustomMusicDialog() {
    if (hwnd_) KillTimer(hwnd_, PollTimer);
}

BOOL CustomMusicDialog::OnInitDialog() {
    // The list: grid lines, full-row select, blue text on a sand ground, one wide column.
    HWND list = Item(ListId);
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    SendMessageA(list, LVM_SETBKCOLOR, 0, ListBack);
    SendMessageA(list, LVM_SETTEXTBKCOLOR, 0, ListBack);
    SendMessageA(list, LVM_SETTEXTCOLOR, 0, RowText);
    LVCOLUMNA column = {};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
    column.fmt = LVCFMT_CENTER;
    column.cx = DpiScale::System()(500);  // pixels at 96 DPI, as wide at any other
    column.pszText = const_cast<char*>("Music List");
    SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));

    // The switch and the three mode lamps.
    onOff.SubclassDlgItem(OnOffId, hwnd_);
    onOff.setCheck(false);
    onOff.setIcons(184, 183);
    repeatOne.SubclassDlgItem(RepeatOneId, hwnd_);
    repeatAll.SubclassDlgItem(RepeatAllId, hwnd_);
    random.SubclassDlgItem(RandomId, hwnd_);
    random.setCheck(false);
    repeatAll.setCheck(false);
    repeatOne.setCheck(true);
    for (LedCheckButton* lamp : {&repeatOne, &repeatAll, &random}) lamp->setColours(0x0000FF00, 0);
    SelectMode(RepeatOneId);

    musicVolume = ReadProfileVolume();

    // The player's window lives inside the hidden static.
    player.SetParentWindow(Item(PlayerParentId));
    player.Open();
    player.SetVolume(musicVolume);

    volumeSlider.SubclassDlgItem(VolumeId, hwnd_);
    SendMessageA(Item(VolumeId), TBM_SETRANGE, TRUE, MAKELPARAM(0, 1000));
    SendMessageA(Item(VolumeId), TBM_SETPOS, TRUE, musicVolume);

    LoadList();
    SetTimer(hwnd_, PollTimer, PollMs, nullptr);
    return TRUE;
}

INT_PTR CustomMusicDialog::DialogProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_TIMER:
        if (wParam == PollTimer) ServicePlayback();
        return TRUE;
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        // The lamps tell their clicks with a posted command without a window handle, after they
        // have toggled; the button's own notification is not the command.
        const bool lamp = id == OnOffId || id == RepeatOneId || id == RepeatAllId || id == RandomId;
        if (lamp) {
            if (lParam == 0) OnCommand(id);
            return StandingDialog::DialogProc(msg, wParam, lParam);
        }
        if (lParam != 0 && HIWORD(wParam) == BN_CLICKED && id >= AddId && id <= StopId) {
            OnCommand(id);
            return TRUE;
        }
        break;
    }
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header->idFrom == ListId) {
            switch (header->code) {
            case NM_CUSTOMDRAW:
                SetResult(OnListCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW*>(lParam)));
                return TRUE;
            case NM_CLICK:
                if (FirstSelectedRow() >= 0) {
                    PrepareTrack(0, true);
                    if (runState == 0) StartPlaying();
                }
                return TRUE;
            case LVN_ENDLABELEDITA:
            case LVN_ENDLABELEDITW:
                SetResult(FALSE);  // an edited name is never taken
                return TRUE;
            default:
                break;
            }
        } else if (header->idFrom == PositionId && header->code == NM_RELEASEDCAPTURE) {
            player.Seek(static_cast<int>(SendMessageA(Item(PositionId), TBM_GETPOS, 0, 0)));
            position = player.GetPosition();
            if (runState == 0) player.Play();
            return TRUE;
        }
        break;
    }
    case WM_HSCROLL:
        StandingDialog::DialogProc(msg, wParam, lParam);
        player.SetVolume(static_cast<int>(SendMessageA(Item(VolumeId), TBM_GETPOS, 0, 0)));
        musicVolume = player.volume;
        return TRUE;
    default:
        break;
    }
    return StandingDialog::DialogProc(msg, wParam, lParam);
}

void CustomMusicDialog::OnCommand(int id) {
    switch (id) {
    case AddId:
        AddMusic();
        break;
    case RemoveId:
        RemoveSelected();
        break;
    case RemoveAllId:
        RemoveAll();
        break;
    case PlayId:
        PrepareTrack(0, false);
        StartPlaying();
        break;
    case StopId:
        StopPlaying();
        break;
    case OnOffId:
        // The view follows at its next tick rather than at this dialog's next poll.
        ownMusicOn = onOff.getCheck();
        if (onOff.getCheck()) {
            PrepareTrack(0, false);
            StartPlaying();
        } else if (runState == 0) {
            StopPlaying();
        }
        break;
    case RepeatOneId:
    case RepeatAllId:
    case RandomId:
        SelectMode(id);
        break;
    default:
        break;
    }
}

void CustomMusicDialog::SelectMode(int id) {
    playMode = id - RepeatOneId;
    LedCheckButton* lamps[] = {&repeatOne, &repeatAll, &random};
    for (int i = 0; i < 3; ++i) {
        if (i == playMode) lamps[i]->setCheck(true);
        else if (lamps[i]->getCheck()) lamps[i]->setCheck(false);
    }
}

void CustomMusicDialog::AddMusic() {
    const std::string path = win::AskOpenFile(hwnd_, "(*.mp3;*.wav;*.mpeg)\0*.mp3;*.wav;*.mpeg\0", 4096);
    if (!path.empty()) AppendRow(path);
}

void CustomMusicDialog::RemoveSelected() {
    const int row = FirstSelectedRow();
    if (row < 0) {
        win::App* app = win::App::Current();
        MessageBoxA(hwnd_, "Please select an item from the music list!", app ? app->AppName() : "NerithScr",
                    MB_OK);
        return;
    }
    SendMessageA(Item(ListId), LVM_DELETEITEM, row, 0);
    rowCount = RowCount();
    PrepareTrack(0, false);
}

void CustomMusicDialog::RemoveAll() {
    SendMessageA(Item(ListId), LVM_DELETEALLITEMS, 0, 0);
    rowCount = 0;
}

void CustomMusicDialog::AppendRow(const std::string& path) {
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = RowCount();
    item.pszText = const_cast<char*>(path.c_str());
    SendMessageA(Item(ListId), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    rowCount = RowCount();
}

int CustomMusicDialog::RowCount() const {
    return static_cast<int>(SendMessageA(Item(ListId), LVM_GETITEMCOUNT, 0, 0));
}

int CustomMusicDialog::FirstSelectedRow() const {
    return static_cast<int>(SendMessageA(Item(ListId), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

std::string CustomMusicDialog::RowPath(int row) const {
    std::vector<char> text(1024);
    for (;;) {
        LVITEMA item = {};
        item.iSubItem = 0;
        item.pszText = text.data();
        item.cchTextMax = static_cast<int>(text.size());
        const LRESULT n = SendMessageA(Item(ListId), LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
        if (n < static_cast<LRESULT>(text.size()) - 1 || text.size() >= 65536) return text.data();
        text.resize(text.size() * 4);  // a longer path than the buffer: ask again
    }
}

void CustomMusicDialog::LoadList() {
    SendMessageA(Item(ListId), LVM_DELETEALLITEMS, 0, 0);
    rowCount = 0;
    const MusicListFile file = LoadMusicList(AppProfile());
    random.setCheck(file.random);
    repeatAll.setCheck(file.repeatAll);
    repeatOne.setCheck(file.repeatOne);
    onOff.setCheck(file.ownMusic);
    // A long list goes in without a redraw per row, into room made for all of it.
    SendMessageA(Item(ListId), WM_SETREDRAW, FALSE, 0);
    SendMessageA(Item(ListId), LVM_SETITEMCOUNT, file.paths.size(), 0);
    for (const std::string& path : file.paths) AppendRow(path);
    SendMessageA(Item(ListId), WM_SETREDRAW, TRUE, 0);
    if (!random.getCheck() && !repeatAll.getCheck() && !repeatOne.getCheck()) repeatOne.setCheck(true);
    SelectMode(random.getCheck() ? RandomId : repeatAll.getCheck() ? RepeatAllId : RepeatOneId);
    if (!file.paths.empty() && onOff.getCheck()) {
        PrepareTrack(0, false);
        StartPlaying();
    }
}

void CustomMusicDialog::SaveList() {
    MusicListFile file;
    file.random = random.getCheck();
    file.repeatAll = repeatAll.getCheck();
    file.repeatOne = repeatOne.getCheck();
    file.ownMusic = onOff.getCheck();
    const int n = RowCount();
    for (int i = 0; i < n; ++i) file.paths.push_back(RowPath(i));
    SaveMusicList(AppProfile(), file);
}

void CustomMusicDialog::PrepareTrack(int fallbackIndex, bool userPick) {
    const int n = RowCount();
    if (n == 0) return;
    currentIndex = ChooseTrack(playMode, runState == 0, userPick, FirstSelectedRow(), n, currentIndex,
                               fallbackIndex);
    // A file that cannot be played is never shown as playing; Repeat All and Random go on to the
    // next one that can. A row that names no file is passed over without a player window: opening
    // one takes milliseconds, and a list of a thousand missing files would hold up the program.
    instrument::SpanStart();
    const int opened = OpenPlayableTrack(currentIndex, playMode, n, [this](int row) {
        const std::string path = RowPath(row);
        const DWORD attributes = GetFileAttributesA(path.c_str());
        if (path.empty() || attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
        player.Stop();
        player.Close();
        player.SetFileName(path);
        player.Open();
        return player.canPlay && player.GetLength() > 0;
    });
    instrument::SpanEnd("track_choice");
    if (opened < 0) {
        player.Stop();  // nothing playable stays open
        player.Close();
        player.canPlay = false;
        StopPlaying();
    } else {
        currentIndex = opened;
    }
    player.Seek(0);
    player.SetVolume(musicVolume);
    HWND slider = Item(PositionId);
    SendMessageA(slider, TBM_SETRANGEMIN, FALSE, 0);
    SendMessageA(slider, TBM_SETRANGEMAX, FALSE, player.GetLength());
    SendMessageA(slider, TBM_SETPOS, TRUE, 0);
}

void CustomMusicDialog::StartPlaying() {
    if (RowCount() == 0) return;
    // Nothing playable is open (PrepareTrack found no such file): stay stopped.
    if (!player.canPlay || currentIndex < 0) return;
    runState = 0;
    player.Play();
    MarkPlayingRow(currentIndex);
    EnableEditing(false);
    onOff.setCheck(true);
}

void CustomMusicDialog::StopPlaying() {
    runState = 2;
    player.Stop();
    player.Seek(0);
    currentIndex = -1;
    MarkPlayingRow(-1);
    LVITEMA state = {};
    state.stateMask = LVIS_SELECTED;
    state.state = 0;
    SendMessageA(Item(ListId), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
    EnableEditing(true);
}

void CustomMusicDialog::ServicePlayback() {
    ownMusicOn = onOff.getCheck();
    if (runState != 0) return;
    position = player.GetPosition();
    SendMessageA(Item(PositionId), TBM_SETPOS, TRUE, position);
    if (player.canPlay && TrackEnded(position, player.GetLength(), player.IsStopped(), PollMs)) {
        PrepareTrack(0, false);
        StartPlaying();
    }
}

void CustomMusicDialog::MarkPlayingRow(int row) {
    const int before = playingRow;
    playingRow = row;
    HWND list = Item(ListId);
    if (before >= 0) SendMessageA(list, LVM_REDRAWITEMS, before, before);
    if (row >= 0) SendMessageA(list, LVM_REDRAWITEMS, row, row);
}

void CustomMusicDialog::EnableEditing(bool enable) {
    // The focus leaves a button about to be disabled ("Play" just clicked) for "Stop": left on it,
    // the focus would be nowhere and the dialog's keys (Escape, Tab) unheard.
    for (int id : EditingButtons)
        if (!enable && GetFocus() == Item(id)) SendMessageA(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(StopId)), TRUE);
    for (int id : EditingButtons) EnableWindow(Item(id), enable);
}

LRESULT CustomMusicDialog::OnListCustomDraw(NMLVCUSTOMDRAW* draw) {
    switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
        draw->clrText = RowText;
        draw->clrTextBk = static_cast<int>(draw->nmcd.dwItemSpec) == playingRow ? PlayingBack : RowBack;
        return CDRF_DODEFAULT;
    default:
        return CDRF_DODEFAULT;
    }
}
