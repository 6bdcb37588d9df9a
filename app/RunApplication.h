#pragma once

// Creates the main frame, shows it with nCmdShow and runs the message loop;
// returns the loop's result, or 0 when the frame cannot be created.
int RunApplication(int nCmdShow);
