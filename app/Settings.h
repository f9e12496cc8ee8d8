#pragma once
// Where Marnell keeps its settings for each user: the registry section of the
// application's profile (HKCU\Software\Corvane\<program>\Marnell 2) and its
// values.

constexpr char kSettingsSection[] = "Marnell 2";
// REG_SZ: "cy" for Welsh; anything else, or nothing, English. Written only at
// a language switch.
constexpr char kLanguageEntry[] = "Language";
// REG_DWORD: 0 hides the panel of characters; 1 or nothing shows it.
constexpr char kShowCharactersEntry[] = "ShowCharacters";
// REG_DWORD: 1 once the shell has shown the first start's welcome.
constexpr char kWelcomedEntry[] = "Welcomed";
