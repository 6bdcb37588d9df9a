#pragma once

// True when the process runs on Wine rather than on Windows; used only where
// Wine lacks a Windows behaviour that the program relies on.
bool IsRunningOnWine();
