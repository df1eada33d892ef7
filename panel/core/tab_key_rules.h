// What the Tab key does across the nested windows of the settings and
// consumables screens. The dialog manager alone would trap the focus inside
// one page; this decision carries it between the tab control, the page on
// screen and the buttons around it. Portable: the hook only gathers the
// inputs and carries out the result.
#pragma once

// Which of the program's windows is active, as the hook sees it.
enum TabWindow { TabWindowOther, TabWindowMain, TabWindowDetail };

// Where the focus is, among the controls the table names. A control may be
// both the first and the last of its page (a page with one control).
struct TabFocus {
    bool tabControl;
    bool pageFirst;   // first control of the page on screen
    bool pageLast;    // last control of the page on screen
    bool readButton;  // settings: Read (1251)
    bool updateButton;  // consumables detail: Update (1210)
    bool closeButton;   // consumables detail: Close (1209)
};

struct TabKeyInput {
    int hookCode;
    unsigned virtualKey;
    bool keyReleased;      // transition bit of the key flags
    bool consumablesOpen;
    bool detailOpen;
    TabWindow active;
    bool ctrl;
    bool shift;
    TabFocus focus;
    int tabIndex;          // selected tab of the concerned tab control
};

enum TabOutcome {
    TabPassOn,     // not ours: the next hook decides
    TabDefault,    // return 0: the key is processed normally
    TabSwallow,    // return 1 after the actions below
};

enum TabTarget {
    TargetNone,
    TargetTabControl,
    TargetPageFirst,   // of the page shown after any tab selection
    TargetPageLast,
    TargetReadButton,
    TargetExitButton,
    TargetUpdateButton,
    TargetCloseButton,
};

struct TabKeyDecision {
    TabOutcome outcome;
    bool detail;      // the concerned window: consumables detail, else the settings container
    int selectTab;    // tab to select with TCM_SETCURFOCUS first, or -1
    TabTarget focus;  // then the window to move the focus to
};

// Tabs of the settings container and of the consumables detail window.
enum { SettingsTabCount = 4, DetailTabCount = 2 };

TabKeyDecision DecideTabKey(const TabKeyInput& input);
