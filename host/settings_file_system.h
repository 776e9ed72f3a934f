#pragma once
// The game directory's file system as the settings see it: data paths, file stamps from one
// attribute query per file (nothing is opened), and the system clock in file-time units.
#include "config/settings_files.h"

const SettingsFileSystem& gameSettingsFiles();
