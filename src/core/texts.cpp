// The message boxes' texts in each language. The Japanese ones are the
// original game's, word for word.
#include <string>

#include "core/data_file.h"
#include "core/texts.h"

namespace {

const char* const japanese[] = {
    "DirectDrawの初期化に失敗しました。\nアプリケーションを終了します。",
    "DirectSoundの初期化に失敗しました。\nアプリケーションを終了します。",
    "DirectMusicの初期化に失敗しました。\nアプリケーションを終了します。",
    "ファイルが見つかりませーん",
};

const char* const english[] = {
    "Could not start the display.\nThe game will close.",
    "Could not start the sound device.\nThe game will close.",
    "Could not start the music.\nThe game will close.",
    "A file could not be read",
};

constexpr int text_count = 4;
std::string hinted[text_count][2];  // [text][english]: the text with its host's hint, when it has one

}  // namespace

void add_text_hint(GameText text, const char* japanese_hint, const char* english_hint) {
    hinted[text][0] = std::string(japanese[text]) + "\n" + japanese_hint;
    hinted[text][1] = std::string(english[text]) + "\n" + english_hint;
}

const char* game_text(GameText text) {
    const bool in_english = game_language() == language_english;
    const std::string& with_hint = hinted[text][in_english ? 1 : 0];
    if (!with_hint.empty()) return with_hint.c_str();
    return in_english ? english[text] : japanese[text];
}
