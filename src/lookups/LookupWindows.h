#pragma once

// Registers the modal openers of the businesses and categories windows with the
// shell's window registry, so that the frame's menu can reach them. Called once
// by the executable before start-up.
void RegisterLookupWindows();
