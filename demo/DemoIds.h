#pragma once
// Resource and control identifiers of the demo.
// Resources (macros: the resource compiler reads them too).
#define kIconForm 1
#define kBitmapPicture1 101
#define kFormDataKinetile1 201  // Kinetile1's saved properties, the GIF among them

#ifndef RC_INVOKED
enum DemoControl : int {
    kLabelIntro = 1000, kFrame1, kLabelBorder, kCmbBorderStyle, kChkBackOpaque, kChkAutoSize, kFrame2, kLabelInfo0,
    kLabelInfo1, kLabelInfo2, kLabSize, kLabFrameCount, kLabCurNumber, kFrame3, kLabelHit, kCmbHit, kLabelEvents,
    kLstEventList, kFrame4, kLabelManual, kCmdPlay, kCmdPause, kCmdHalt, kLabelAuto, kCmbAutoControl, kLabelSpeed,
    kHSSpeed, kLabSpeed, kLabEmail, kLabSite,
};
#endif
