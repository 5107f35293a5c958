#pragma once

// Command identifiers of the menus, accelerators and tool bar. The numbers
// are those of the program's resources, so a command is named the same way
// everywhere (CMainFrame::Action).
enum CommandId : int {
    ID_FILE_NEW = 57600,
    ID_FILE_OPEN = 57601,
    ID_FILE_CLOSE = 57602,
    ID_FILE_SAVE = 57603,
    ID_FILE_SAVE_AS = 57604,
    ID_FILE_MRU_FILE1 = 57616,
    ID_WINDOW_ARRANGE = 57649,
    ID_WINDOW_CASCADE = 57650,
    ID_WINDOW_TILE_HORZ = 57651,
    ID_APP_ABOUT = 57664,
    ID_APP_EXIT = 57665,
    ID_NEXT_PANE = 57680,
    ID_PREV_PANE = 57681,
    ID_VIEW_TOOLBAR = 59392,
    ID_VIEW_STATUS_BAR = 59393,

    ID_EXPORT_HTML = 32772,
    ID_UPDATE_TREE = 32774,
    ID_FIND_USES = 32776,
    ID_FIND_CLASS_HEADERS = 32778,
    ID_FIND_CLASS_FUNCTIONS = 32779,
    ID_FIND_CLASS = 32780,
    ID_SHOW_HIERARCHY = 32781,
    ID_SHOW_LIST = 32782,
    ID_EXPAND_ALL = 32783,
    ID_COLLAPSE_ALL = 32784,
};

// The recent-file list holds this many entries.
inline constexpr int kRecentFileCount = 4;
