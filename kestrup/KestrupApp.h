#pragma once
// The unpacker program: shows the dialog, runs it until the worker is done and
// gives the exit status (0 when every file was unpacked).

#include "kestrup/KestrupDlg.h"

class CKestrupApp
{
public:
    int InitInstance(const SKestrupOptions& options);
};
