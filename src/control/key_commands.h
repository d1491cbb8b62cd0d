// One pass of the key commands: draws the pattern of every command key found active.
#pragma once

void RunKeyCommandPass();
