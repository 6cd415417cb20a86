// The two widgets of the main window behind "View File": the button and the "Stored File" box. The
// main window fills it from its form, so the stored file link knows nothing else of the window.
#pragma once

class QAbstractButton;
class QCheckBox;

struct StoredFileLinkView
{
    QAbstractButton *cmdLeads = nullptr;
    QCheckBox *chkMem = nullptr;
};
