// The message boxes' texts in each language. The Japanese ones are the
// original game's, word for word.
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

}  // namespace

const char* game_text(GameText text) {
    return game_language() == language_english ? english[text] : japanese[text];
}
