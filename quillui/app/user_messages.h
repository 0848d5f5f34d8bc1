// The library's user messages: the values the host's frame, the content windows and the
// library's own windows exchange. The values are fixed because hosts depend on them.
#pragma once

#include "quillui/framework/base/messages.h"

namespace quill {

inline constexpr UINT WmuGetHelpKey = 0x0607;           // 1543
inline constexpr UINT WmuGetTextSelection = 0x0609;     // 1545
inline constexpr UINT WmuGetBtnMenu = 0x060C;           // 1548
inline constexpr UINT WmuGetDisplayMode = 0x0615;       // 1557
inline constexpr UINT WmuSetHintText = 0x0619;          // 1561
inline constexpr UINT WmuFireOffBookmark = 0x061A;      // 1562
inline constexpr UINT WmuNewBtnMenu = 0x061B;           // 1563
inline constexpr UINT WmuGetPaneButtonBar = 0x061C;     // 1564
inline constexpr UINT WmuCreateBookmark = 0x061E;       // 1566
inline constexpr UINT WmuBookmarkListChanged = 0x0620;  // 1568
inline constexpr UINT WmuNotification = 0x0622;         // 1570
inline constexpr UINT WmuVexMciNotify = 0x0623;         // 1571
inline constexpr UINT WmuEnvPaneShown = 0x0624;         // 1572
inline constexpr UINT WmuIniChanged = 0x062C;           // 1580
inline constexpr UINT WmuCanClose = 0x062D;             // 1581
inline constexpr UINT WmuPreUpdate = 0x0633;            // 1587
inline constexpr UINT WmuPostUpdate = 0x0634;           // 1588
inline constexpr UINT WmuButtonEnter = 0x0635;          // 1589
inline constexpr UINT WmuButtonLeave = 0x0636;          // 1590
inline constexpr UINT WmuHandleActivation = 0x0637;     // 1591
inline constexpr UINT WmuBuildFlyMenu = 0x0638;         // 1592
inline constexpr UINT WmuGetPaneTitleBar = 0x0639;      // 1593
inline constexpr UINT WmuGetFlyMenu = 0x063A;           // 1594
inline constexpr UINT WmuFlyMenuOpening = 0x063B;       // 1595
inline constexpr UINT WmuSetToolTip = 0x063C;           // 1596
inline constexpr UINT WmuUpdateToolTipRect = 0x063D;    // 1597
inline constexpr UINT WmuUpdateToolTipText = 0x063E;    // 1598
inline constexpr UINT WmuRemoveToolTip = 0x063F;        // 1599
inline constexpr UINT WmuLogTracking = 0x0642;          // 1602

// WmuNotification codes (wParam). 1 and 2 reach a pane and go on to its active holder's
// content; 5 and 10 go to a holder and from it to its content.
inline constexpr WPARAM kNotifyPaneCovered = 1;       // put behind another pane, or hidden
inline constexpr WPARAM kNotifyPaneUncovered = 2;     // brought to the top, or uncovered
inline constexpr WPARAM kNotifyHolderLeaving = 5;     // stops being the active holder
inline constexpr WPARAM kNotifyHolderActivated = 10;  // has just become the active holder

// Every user message lies above the platform's first user message number.
static_assert(WmuGetHelpKey > WM_USER && WmuLogTracking > WM_USER);

}  // namespace quill
