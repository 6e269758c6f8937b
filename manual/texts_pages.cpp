#include "texts.h"

namespace manual::texts {

namespace {

const char* const Hajimeni[] = {
    "（Hajimeni 0）",
    "（Hajimeni 1）",
    "（Hajimeni 2）",
    "",
    "（Hajimeni 4）",
    "（Hajimeni 5）",
    "（Hajimeni 6）",
    "（Hajimeni 7）",
    "",
    "（Hajimeni 9）",
    "（Hajimeni 10）",
    "",
    "（Hajimeni 12）",
    "（Hajimeni 13）",
    "（Hajimeni 14）",
};

const char* const Kihon[] = {
    "●ゲームの始めかた",
    "tobble7.exe　ファイルを実行してください。",
    "",
    "●ゲームのやめかた",
    "（Kihon 4）",
    "（Kihon 5）",
    "",
    "●操作方法",
    "（Kihon 8）",
    "左右　…　キャラクター選択",
    "上下　…　前進・後退",
    "",
    "●目的",
    "（Kihon 13）",
    "（Kihon 14）",
};

const char* const Gamen[] = {
    "（Gamen 0）",
    "（Gamen 1）",
    "（Gamen 2）",
    "（Gamen 3）",
    "（Gamen 4）",
    "",
};

const char* const Jst[] = {
    "（Jst 0）",
    "（Jst 1）",
    "（Jst 2）",
    "（Jst 3）",
    "（Jst 4）",
    "（Jst 5）",
};

const char* const Tst[] = {
    "（Tst 0）",
    "（Tst 1）",
    "（Tst 2）",
    "（Tst 3）",
    "（Tst 4）",
    "",
};

const char* const Face[] = {
    "（Face 0）",
    "（Face 1）",
    "（Face 2）",
    "（Face 3）",
    "（Face 4）",
    "（Face 5）",
};

const char* const Posi[] = {
    "（Posi 0）",
    "（Posi 1）",
    "（Posi 2）",
    "（Posi 3）",
    "（Posi 4）",
    "（Posi 5）",
};

const char* const Taose[] = {
    "（Taose 0）",
    "（Taose 1）",
    "（Taose 2）",
    "（Taose 3）",
    "",
    "（Taose 5）",
    "（Taose 6）",
    "（Taose 7）",
    "",
    "（Taose 9）",
    "（Taose 10）",
    "（Taose 11）",
    "（Taose 12）",
    "",
    "（Taose 14）",
    "（Taose 15）",
    "（Taose 16）",
    "（Taose 17）",
    "（Taose 18）",
};

const char* const LvUp[] = {
    "（LvUp 0）",
    "（LvUp 1）",
    "（LvUp 2）",
    "",
    "（LvUp 4）",
    "（LvUp 5）",
    "（LvUp 6）",
    "（LvUp 7）",
    "",
    "（LvUp 9）",
    "（LvUp 10）",
    "（LvUp 11）",
    "",
    "（LvUp 13）",
    "（LvUp 14）",
    "（LvUp 15）",
    "",
    "（LvUp 17）",
    "（LvUp 18）",
    "",
    "（LvUp 20）",
    "（LvUp 21）",
    "（LvUp 22）",
    "（LvUp 23）",
};

const char* const Hunou[] = {
    "（Hunou 0）",
    "（Hunou 1）",
    "",
    "（Hunou 3）",
    "（Hunou 4）",
    "（Hunou 5）",
    "",
    "（Hunou 7）",
    "（Hunou 8）",
    "（Hunou 9）",
    "（Hunou 10）",
};

const char* const Yasumi[] = {
    "（Yasumi 0）",
    "（Yasumi 1）",
    "",
    "（Yasumi 3）",
    "（Yasumi 4）",
    "",
    "（Yasumi 6）",
    "（Yasumi 7）",
    "（Yasumi 8）",
    "",
    "（Yasumi 10）",
    "（Yasumi 11）",
    "（Yasumi 12）",
    "（Yasumi 13）",
    "",
    "（Yasumi 15）",
    "（Yasumi 16）",
    "（Yasumi 17）",
    "（Yasumi 18）",
    "（Yasumi 19）",
};

const char* const Kotu[] = {
    "（Kotu 0）",
    "（Kotu 1）",
    "（Kotu 2）",
    "（Kotu 3）",
    "（Kotu 4）",
    "（Kotu 5）",
    "（Kotu 6）",
    "（Kotu 7）",
    "（Kotu 8）",
    "（Kotu 9）",
};

const char* const JinbutuA[] = {
    "名前：チャムス",
    "年齢：１２さい",
    "（説明）",
    "（説明）",
    "（説明）",
    "（説明）",
    "名前：メグ　年齢：１１さい",
    "（説明）",
    "（説明）",
    "（説明）",
    "名前：チョックン　年齢：？",
    "（説明）",
    "（説明）",
    "（説明）",
};

const char* const JinbutuB[] = {
    "名前：パウ",
    "年齢：１６さい",
    "（説明）",
    "（説明）",
    "（説明）",
    "（説明）",
    "（説明）",
    "（説明）",
    "名前：シードパール",
    "年齢：１４さい",
    "（説明）",
    "（説明）",
    "（説明）",
    "（説明）",
    "（説明）",
};

const char* const JinbutuC[] = {
    "名前：モ・ジャルテ",
    "年齢：１８さい",
    "（説明）",
    "（説明）",
    "（説明）",
    "（説明）",
    "（説明）",
    "名前：ヤマモト",
    "年齢：１６さい",
    "（説明）",
    "（説明）",
    "（説明）",
    "（説明）",
    "（説明）",
    "（説明）",
};

}  // namespace

const PageLines Pages[13] = {
    {nullptr, 0},
    {Hajimeni, 15},
    {Kihon, 15},
    {Gamen, 6},
    {Jst, 6},
    {Tst, 6},
    {Face, 6},
    {Posi, 6},
    {Taose, 19},
    {LvUp, 24},
    {Hunou, 11},
    {Yasumi, 20},
    {Kotu, 10},
};

const PageLines People[3] = {
    {JinbutuA, 14},
    {JinbutuB, 15},
    {JinbutuC, 15},
};

}  // namespace manual::texts
