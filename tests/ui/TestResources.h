// Ids of the window tests' own dialog template.
#pragma once

#define IDD_KIT_DIALOG 900
#define IDC_KIT_BUTTON 901
#define IDC_KIT_CHECK 902
#define IDC_KIT_WIDE_BUTTON 903
