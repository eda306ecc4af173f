// Writes a deterministic full-size postal code list in the published 15-field layout (code page 932,
// CR LF): the same bytes on every run, so benchmark figures compare like with like.
// Usage: gen_ken_all <output file> [lines]
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "platform/Sjis.h"

namespace {

struct Name {
  const char* kanji;
  const char* kana;  // half-width katakana, as the list prints readings
};

const std::vector<Name> kPrefectures = {
    {"北海道", "ﾎｯｶｲﾄﾞｳ"}, {"青森県", "ｱｵﾓﾘｹﾝ"},    {"岩手県", "ｲﾜﾃｹﾝ"},   {"宮城県", "ﾐﾔｷﾞｹﾝ"},
    {"秋田県", "ｱｷﾀｹﾝ"},   {"山形県", "ﾔﾏｶﾞﾀｹﾝ"},   {"福島県", "ﾌｸｼﾏｹﾝ"},  {"茨城県", "ｲﾊﾞﾗｷｹﾝ"},
    {"栃木県", "ﾄﾁｷﾞｹﾝ"},  {"群馬県", "ｸﾞﾝﾏｹﾝ"},    {"埼玉県", "ｻｲﾀﾏｹﾝ"},  {"千葉県", "ﾁﾊﾞｹﾝ"},
    {"東京都", "ﾄｳｷｮｳﾄ"},  {"神奈川県", "ｶﾅｶﾞﾜｹﾝ"}, {"新潟県", "ﾆｲｶﾞﾀｹﾝ"}, {"富山県", "ﾄﾔﾏｹﾝ"},
    {"石川県", "ｲｼｶﾜｹﾝ"},  {"福井県", "ﾌｸｲｹﾝ"},     {"山梨県", "ﾔﾏﾅｼｹﾝ"},  {"長野県", "ﾅｶﾞﾉｹﾝ"},
    {"岐阜県", "ｷﾞﾌｹﾝ"},   {"静岡県", "ｼｽﾞｵｶｹﾝ"},   {"愛知県", "ｱｲﾁｹﾝ"},   {"三重県", "ﾐｴｹﾝ"},
    {"滋賀県", "ｼｶﾞｹﾝ"},   {"京都府", "ｷｮｳﾄﾌ"},     {"大阪府", "ｵｵｻｶﾌ"},   {"兵庫県", "ﾋｮｳｺﾞｹﾝ"},
    {"奈良県", "ﾅﾗｹﾝ"},    {"和歌山県", "ﾜｶﾔﾏｹﾝ"},  {"鳥取県", "ﾄｯﾄﾘｹﾝ"},  {"島根県", "ｼﾏﾈｹﾝ"},
    {"岡山県", "ｵｶﾔﾏｹﾝ"},  {"広島県", "ﾋﾛｼﾏｹﾝ"},    {"山口県", "ﾔﾏｸﾞﾁｹﾝ"}, {"徳島県", "ﾄｸｼﾏｹﾝ"},
    {"香川県", "ｶｶﾞﾜｹﾝ"},  {"愛媛県", "ｴﾋﾒｹﾝ"},     {"高知県", "ｺｳﾁｹﾝ"},   {"福岡県", "ﾌｸｵｶｹﾝ"},
    {"佐賀県", "ｻｶﾞｹﾝ"},   {"長崎県", "ﾅｶﾞｻｷｹﾝ"},   {"熊本県", "ｸﾏﾓﾄｹﾝ"},  {"大分県", "ｵｵｲﾀｹﾝ"},
    {"宮崎県", "ﾐﾔｻﾞｷｹﾝ"}, {"鹿児島県", "ｶｺﾞｼﾏｹﾝ"}, {"沖縄県", "ｵｷﾅﾜｹﾝ"}};

const std::vector<Name> kCityStems = {
    {"中央", "ﾁｭｳｵｳ"}, {"北", "ｷﾀ"},         {"南", "ﾐﾅﾐ"},        {"東", "ﾋｶﾞｼ"},    {"西", "ﾆｼ"},
    {"青葉", "ｱｵﾊﾞ"},  {"若林", "ﾜｶﾊﾞﾔｼ"},   {"緑", "ﾐﾄﾞﾘ"},       {"港", "ﾐﾅﾄ"},     {"栄", "ｻｶｴ"},
    {"高崎", "ﾀｶｻｷ"},  {"松本", "ﾏﾂﾓﾄ"},     {"富士", "ﾌｼﾞ"},      {"豊田", "ﾄﾖﾀ"},   {"川口", "ｶﾜｸﾞﾁ"},
    {"船橋", "ﾌﾅﾊﾞｼ"}, {"八王子", "ﾊﾁｵｳｼﾞ"}, {"相模原", "ｻｶﾞﾐﾊﾗ"}, {"姫路", "ﾋﾒｼﾞ"},  {"倉敷", "ｸﾗｼｷ"},
    {"久留米", "ｸﾙﾒ"}, {"佐世保", "ｻｾﾎﾞ"},   {"那覇", "ﾅﾊ"},       {"函館", "ﾊｺﾀﾞﾃ"}, {"旭川", "ｱｻﾋｶﾜ"},
    {"弘前", "ﾋﾛｻｷ"}};

const std::vector<Name> kCitySuffixes = {{"市", "ｼ"}, {"区", "ｸ"}, {"町", "ﾁｮｳ"}, {"村", "ﾑﾗ"}};

const std::vector<Name> kTownStems = {
    {"本町", "ﾎﾝﾁｮｳ"},     {"栄町", "ｻｶｴﾏﾁ"},   {"旭町", "ｱｻﾋﾏﾁ"},      {"緑町", "ﾐﾄﾞﾘﾏﾁ"},
    {"大手町", "ｵｵﾃﾏﾁ"},   {"丸の内", "ﾏﾙﾉｳﾁ"}, {"桜木町", "ｻｸﾗｷﾞﾁｮｳ"}, {"宮前", "ﾐﾔﾏｴ"},
    {"高砂", "ﾀｶｻｺﾞ"},     {"松原", "ﾏﾂﾊﾞﾗ"},   {"竹の塚", "ﾀｹﾉﾂｶ"},    {"梅田", "ｳﾒﾀﾞ"},
    {"元町", "ﾓﾄﾏﾁ"},      {"新田", "ｼﾝﾃﾞﾝ"},   {"寺町", "ﾃﾗﾏﾁ"},       {"大通西", "ｵｵﾄﾞｵﾘﾆｼ"},
    {"北二条", "ｷﾀ2ｼﾞｮｳ"}, {"浜町", "ﾊﾏﾁｮｳ"},   {"鶴見", "ﾂﾙﾐ"},        {"稲荷", "ｲﾅﾘ"},
    {"春日", "ｶｽｶﾞ"},      {"日吉", "ﾋﾖｼ"},     {"御幸", "ﾐﾕｷ"},        {"錦", "ﾆｼｷ"}};

const std::vector<Name> kTownSuffixes = {{"", ""},
                                         {"１丁目", "1ﾁｮｳﾒ"},
                                         {"２丁目", "2ﾁｮｳﾒ"},
                                         {"３丁目", "3ﾁｮｳﾒ"},
                                         {"（次のビルを除く）", "(ﾂｷﾞﾉﾋﾞﾙｦﾉｿﾞｸ)"},
                                         {"（１～１９丁目）", "(1-19ﾁｮｳﾒ)"},
                                         {"（その他）", "(ｿﾉﾀ)"},
                                         {"、上町", "､ｶﾐﾏﾁ"},
                                         {"（地階・階層不明）", "(ﾁｶｲ･ｶｲｿｳﾌﾒｲ)"}};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: gen_ken_all <output> [lines]\n");
    return 2;
  }
  const int lines = argc > 2 ? std::stoi(argv[2]) : 124000;
  std::mt19937 rng(20261207);  // fixed seed: mt19937's sequence is the same everywhere
  auto pick = [&rng](const std::vector<Name>& v) -> const Name& { return v[rng() % v.size()]; };
  FILE* out = std::fopen(argv[1], "wb");
  if (!out) return 1;
  int code = 100000;
  for (int i = 0; i < lines; ++i) {
    const int pref = static_cast<int>((static_cast<long>(i) * 47) / lines);
    code += 1 + static_cast<int>(rng() % 7);
    const Name& p = kPrefectures[static_cast<std::size_t>(pref)];
    const Name& cs = pick(kCityStems);
    const Name& cx = pick(kCitySuffixes);
    const Name& ts = pick(kTownStems);
    const Name& tx = pick(kTownSuffixes);
    char head[64];
    std::snprintf(head, sizeof head, "%02d%03d,\"%03d  \",\"%07d\",", pref + 1,
                  static_cast<int>(rng() % 1000), (code / 10000) % 1000, code % 10000000);
    const std::string utf8 = std::string(head) + "\"" + p.kana + "\",\"" + cs.kana + cx.kana + "\",\"" +
                             ts.kana + tx.kana + "\",\"" + p.kanji + "\",\"" + cs.kanji + cx.kanji + "\",\"" +
                             ts.kanji + tx.kanji + "\"," + std::to_string(rng() % 2) + ",0," +
                             std::to_string(rng() % 2) + ",0,0,0\r\n";
    const auto cp932 = sjis::Encode(utf8);
    if (!cp932) return 1;
    std::fwrite(cp932->data(), 1, cp932->size(), out);
  }
  return std::fclose(out) == 0 ? 0 : 1;
}
