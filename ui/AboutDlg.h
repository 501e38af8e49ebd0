// The About box: product line, version, the maker's notice and a picture.
#pragma once

#include "platform/Dialog.h"
#include "res/resource.h"

class CAboutDlg : public CDialog {
 public:
  CAboutDlg() : CDialog(IDD_ABOUTBOX) {}

 protected:
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    return TRUE;
  }
};
