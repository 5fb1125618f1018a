#pragma once
// What the main window's files share of what tests may replace: how the
// back-ends are made, how programs are started, which catalogue file is
// read and where the recordings go.

#include "player/app/MainDlg.h"

namespace MainDlgSeams {

CMainDlg::BackEndMaker& BackEndMaker();
CMainDlg::ShellRunner& ShellRunner();
std::wstring& CatalogueFile();
std::wstring& RecordsFolder();

// The default maker: the Media Player and the web browser back-ends.
void MakeLiveBackEnds(HWND playerArea, const RECT& rect);

} // namespace MainDlgSeams
