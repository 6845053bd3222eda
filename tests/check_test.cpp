#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "check/list_check.h"
#include "scratch.h"
#include "settings/settings_line.h"

namespace
{

using found = std::map<list_mistake, std::vector<long long>>;

// The list checked as the page checks it: the settings pass, then the check's own reading.
list_check checked(const std::string &bytes, print_setting print = {false, false})
{
    const std::string path = scratch_list(bytes);
    static list_reader list;
    sheet_settings settings = default_settings();
    EXPECT_TRUE(open_list(&list, path.c_str()));
    read_settings_from(&list, &settings);
    close_list(&list);
    list_check check;
    EXPECT_TRUE(open_list(&list, path.c_str()));
    check_list(&list, &settings, print, &check);
    close_list(&list);
    std::remove(path.c_str());
    return check;
}

found mistakes_of(const list_check &check)
{
    found mistakes;
    for (int kind = 0; kind < MISTAKE_KINDS; ++kind) {
        const mistake_lines &lines = check.mistakes[kind];
        std::size_t kept = lines.count < 5 ? static_cast<std::size_t>(lines.count) : 5;
        if (lines.count > 0)
            mistakes[static_cast<list_mistake>(kind)].assign(lines.first, lines.first + kept);
    }
    return mistakes;
}

struct check_case {
    std::string list;
    long long tags;
    found mistakes; // each with the lines it is found on; no_names on none, line 0
};

const std::string A199(199, 'a');
const std::string BOM = "\xEF\xBB\xBF";
const std::string UTF16_ANNA("\xFF\xFE"
                             "A\0n\0n\0a\0\r\0\n\0",
                             14);
const std::string LONG = "Marie Magdalena Dvořáková";
const std::string SIX = "Magdaléna Marešová=Kateřina Dvořáková Vlastimil Horáková";
const std::size_t NONE = std::string::npos;
const std::string FOUR_WORDS = "Magdaléna Marešová Dvořáková Nová";
const std::string PNG("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16);
std::string repeated(const std::string &text, int times)
{
    std::string all;
    while (times-- > 0)
        all += text;
    return all;
}
const std::string C160 = repeated("Č", 160);

// Each mistake with a list that shows it, and a near list that must not.
TEST(check_list, finds_each_mistake_where_the_sheet_shows_it_and_nowhere_else)
{
    const check_case cases[] = {
        {"4=UTF-8\r\nJana=Nováková\r\nPetr Dvořák\r\n", 2, {}},
        {"Anna\nŽofie Šťastná\n", 2, {{utf8_not_declared, {2}}}},
        {"Anna\n\x8E"
         "ofie\n",
         2,
         {}},
        {"4=UTF-8\n\x8E"
         "ofie\nAnna\n\x9A\n",
         3,
         {{declared_utf8_not_saved, {2, 4}}}},
        {"4=UTF-8\n\xC0\xAF\n", 1, {{declared_utf8_not_saved, {2}}}},
        {UTF16_ANNA, 2, {{saved_as_utf16, {1}}}},
        {BOM + "4=UTF-8\nAnna\n", 1, {}},
        {"Jana=Nováková\nPetr\n", 1, {{name_as_settings_line, {1}}}},
        {"=\nAnna\n", 1, {}},
        {"x=utf-8\nAnna\n", 1, {}},
        {"6=\nAnna\n\nBob\n \n=\n", 5, {{empty_tag, {3, 5, 6}}}},
        {"4=\n" + std::string(250, 'a') + "\nBob\n",
         3,
         {{line_over_read, {2}}, {name_over_lines, {2}}}},
        {"4=\n" + A199 + "\nBob\n", 3, {{line_over_read, {2}}, {name_over_lines, {2}}}},
        {"4=\n" + A199, 1, {{name_over_lines, {2}}}},
        {"4=\nAnna\rBob\rCyril\nDan\r\r\n", 2, {{text_after_return, {2}}}},
        {"%PDF-1.4\n\x01\x02stream\nAnna\n", 3, {{not_text, {2}}}},
        // The file's own bytes: signatures, and control bytes past a NUL or a 0x1A.
        {"%PDF-1.4\n1 0 obj\n", 2, {{not_text, {1}}}},
        {PNG, 1, {{not_text, {3}}}},
        {std::string("MZ\x90\0\3\0", 6), 1, {{not_text, {1}}}},
        {"MZ Holding\nAnna\n", 2, {}},
        {std::string("4=\nAnna\0\x01\nBob\n", 14), 2, {{not_text, {2}}}},
        {"", 0, {{no_names, {0}}}},
        // Names written in one line, and commas that stand in one name.
        {"4=UTF-8\nJana Nováková, Petr Dvořák\nAnna, Bob, Čeněk\n",
         2,
         {{names_in_one_line, {2, 3}}}},
        {"4=UTF-8\nNováková, Jana\nJana=ACME, a.s., Brno\nA, b, C\n", 3, {}},
        {"4=UTF-8\nIng. Jan Novák, CSc., MBA\nJan Novák, MBA, LL.M.\nAnna, Bob, Ph.D.\n", 3, {}},
        {"4=UTF-8\r\n", 0, {{no_names, {0}}}},
        // A 0x1A ends the list: before more names, or only at the end, as DOS wrote it.
        {"4=\nAnna\n\x1A"
         "Bob\nCyril\n",
         1,
         {{list_ends_early, {3}}}},
        {"4=\nAnna\nBo\x1A"
         "b\n",
         2,
         {{list_ends_early, {3}}}},
        {"4=\nAnna\nBob\n\x1A\r\n", 2, {}},
        // A charset the tool does not know, a settings line declaring nothing, and a known one.
        {"4=ISO-8859-2\nAnna\n", 1, {{unknown_charset, {1}}}},
        {"6= UTF-8\nŽofie\n", 1, {{spaced_settings_line, {1}}}},
        // Blanks that make the settings line read otherwise than meant, and blanks that do not.
        {"6 = UTF-8\nAnna\n", 1, {{spaced_settings_line, {1}}}},
        {"6 =\nŽofie\n", 1, {{spaced_settings_line, {1}}, {utf8_not_declared, {2}}}},
        {" 6=UTF-8 \nAnna\n", 1, {}},
        {"4=\nŽofie\n", 1, {{utf8_not_declared, {2}}}},
        {"2=utf-8 \nŽofie\n", 1, {}},
        // A read that ends inside a letter: the line is UTF-8 all the same.
        {"4=UTF-8\n" + C160 + "\n", 2, {{line_over_read, {2}}, {name_over_lines, {2}}}},
        {C160 + "\n", 2, {{utf8_not_declared, {1}}, {line_over_read, {1}}, {name_over_lines, {1}}}},
        // Markup that prints otherwise than typed, and "&" and "<" that print as typed.
        {"4=UTF-8\nAnna\nJan <Honza> Novák\nAT&T &copy; Smith\n", 3, {{markup_in_name, {3, 4}}}},
        {"4=UTF-8\nSmith & Wesson\nAT&T\nR&D Team\n3 < 5 Club\n", 4, {}},
        {"4=UTF-8\nJan &lt;Honza&gt; &amp; AT&#38;T &#61; &#x3C;\n", 1, {}},
        // A reference is as wide as the letter it writes.
        {"4=UTF-8\nA&#61;B C&#61;D E&#61;F G&#61;H I&#61;J K&#61;L\n", 1, {}},
        // A browser breaks lines at spaces, after a hyphen between letters and at the first "=";
        // in layouts 1 and 2 a tag holds 2 lines, in layout 6 three, and no word wider than it.
        {"4=UTF-8\nMagdaléna Kučera=Jaroslav Hájková\n", 1, {}},
        {"4=UTF-8\nMagdaléna Kučerová=Jaroslav Hájková\n", 1, {{name_over_lines, {2}}}},
        {"2=UTF-8\nKristýna Erzsébet Schwarzenbergová\nAlžběta Wiśniewska=ACME s.r.o.\n", 2, {}},
        {"2=UTF-8\nKrzysztof Dvořáková-Procházková\nJakub=Hohenzollern-Sigmaringen\n",
         2,
         {{name_over_lines, {2, 3}}}},
        {"2=UTF-8\nKrzysztof Dvořáková Procházková\n", 1, {{name_over_lines, {2}}}},
        {"4=\nMagdaléna Kučera=Anna\n", 1, {{utf8_not_declared, {2}}, {name_over_lines, {2}}}},
        {"4=\n" + std::string(25, 'W') + "\n", 1, {{name_over_lines, {2}}}},
        {"6=UTF-8\n" + SIX + "\n", 1, {}},
        {"6=UTF-8\n" + SIX + " Nová\n", 1, {{name_over_lines, {2}}}},
        // In two columns a long word takes width from its partner, which then may not fit.
        {"6=UTF-8\n" + std::string(13, 'W') + "\n" + FOUR_WORDS + "\n",
         2,
         {{name_over_lines, {3}}}},
        {"6=UTF-8\nJana\n" + FOUR_WORDS + "\n", 2, {}},
    };
    for (const check_case &c : cases) {
        list_check check = checked(c.list);
        EXPECT_EQ(c.tags, check.tags) << ::testing::PrintToString(c.list);
        EXPECT_EQ(c.mistakes, mistakes_of(check)) << ::testing::PrintToString(c.list);
    }
}

TEST(check_list, keeps_the_first_lines_of_a_mistake_and_counts_them_all)
{
    std::string list = "4=\n";
    for (int line = 2; line <= 20; ++line)
        list += line % 3 == 0 ? "\n" : "Anna\n";
    list_check check = checked(list);
    EXPECT_EQ(6, check.mistakes[empty_tag].count);
    EXPECT_EQ((std::vector<long long>{3, 6, 9, 12, 15}), mistakes_of(check)[empty_tag]);
    EXPECT_EQ(20, check.last_line);
}

// What some mistakes need said besides their lines.
TEST(check_list, says_what_a_mistake_needs_besides_its_lines)
{
    const struct {
        std::string list;
        const char *meant;
    } charsets[] = {
        {"4=utf8\nŽofie\n", UTF8_CHARSET},
        {"4=cp1250\n\x8E"
         "ofie\n",
         WINDOWS_1250_CHARSET},
        {"4=ISO-8859-2\n\xAE"
         "ofie\n",
         nullptr},
        {"4=foo\nAnna\n", UTF8_CHARSET},
    };
    for (const auto &c : charsets) {
        const char *meant = checked(c.list).charset_meant;
        EXPECT_STREQ(c.meant, meant) << c.list;
    }
    EXPECT_STREQ("6=UTF-8", checked("6 = utf8\nAnna\n").settings_meant);
    // A name taken for the settings line tells the list's charset too.
    EXPECT_EQ(not_utf8, checked("Jana=Nov\xE1kov\xE1\nPetr\n").text);
    list_check ended = checked("4=\nAnna\n\x1A"
                               "Bob\nCyril\n");
    EXPECT_EQ(10, ended.after_end.bytes);
    EXPECT_EQ(2, ended.after_end.lines);
    EXPECT_EQ(2, checked("4=UTF-8\n" + C160 + "\n").letter_cut_line);
    list_check marked = checked("4=\nAnna <b>\nAnn <!-- note\n<img src=x>\n");
    EXPECT_EQ(hides_later_tags, marked.worst_markup);
    EXPECT_EQ(3, marked.worst_markup_line);
    list_check moved = checked("2=UTF-8\nIng.=Jana Marie Nováková\n");
    EXPECT_EQ(3, moved.first_over.lines);
    EXPECT_EQ(15, moved.first_over_break); // "Ing. Jana Marie=Nováková"
    EXPECT_EQ(-1, checked("2=UTF-8\nKrzysztof Dvořáková Procházková\n").first_over_break);
}

// The size the page's print fits a name at: the layout's own where the name fits, else the
// largest that fits (the print tests hold these to three engines' layout), else half of it,
// which is then not enough; its second line at three fifths where it is set smaller.
TEST(size_to_fit, sets_each_name_at_the_largest_size_that_keeps_its_tag)
{
    const std::string INSTITUTE = "Prof. Ing. Jan Nepomuk Procházka=Ústav organické chemie a "
                                  "biochemie AV ČR";
    const std::string ONE_WORD = "ProcházkováDvořákováSchwarzenbergová";
    const struct {
        std::string name;
        tag_layout layout;
        bool second_smaller;
        int text_px;
        int second_px;
        bool fits;
    } cases[] = {
        {"Jana Nováková", four_panel, false, 80, 80, true},
        {LONG, two_panel, false, 80, 80, true},
        {INSTITUTE, four_panel, false, 49, 49, true},
        {INSTITUTE, four_panel, true, 62, 37, true},
        {INSTITUTE, two_column, false, 32, 32, true},
        {INSTITUTE, two_column, true, 36, 21, true},
        {ONE_WORD, two_panel, false, 40, 40, false},
        {ONE_WORD, two_column, false, 18, 18, false},
        {"ProcházkováDvořáková", two_column, false, 31, 31, true},
        {std::string(35, 'W'), two_column, true, 18, 10, false},
        {SIX + " Nová", two_column, false, 33, 33, true},
    };
    for (const auto &c : cases) {
        tag_size size =
            size_to_fit({c.name.data(), c.name.size()}, c.layout, c.second_smaller, true);
        EXPECT_EQ(c.text_px, size.text_px) << c.name << " in " << c.layout;
        EXPECT_EQ(c.second_px, size.second_px) << c.name << " in " << c.layout;
        EXPECT_EQ(c.fits, size.fits) << c.name << " in " << c.layout;
    }
    // Fitted, a list warns only of the names that do not fit even at half the size, and counts
    // the tags set smaller; the print's pages are then the layout's own.
    list_check fitted =
        checked("4=UTF-8\n" + INSTITUTE + "\n" + ONE_WORD + "\nAnna\n", {true, true});
    EXPECT_EQ((found{{name_over_lines, {3}}}), mistakes_of(fitted));
    EXPECT_EQ(1, fitted.tags_set_smaller);
    EXPECT_EQ(3, fitted.printed_pages[a4_paper][0]);
    EXPECT_EQ(-1, fitted.first_over_break);
    // Its "=" after "Ing." sets the long word in the smaller second line, which holds it.
    EXPECT_EQ(4, checked("2=UTF-8\nIng. " + ONE_WORD + "=ACME\n", {true, true}).first_over_break);
}

// Markup as a browser reads it in a cell, and "<" and "&" that print as typed.
TEST(markup_in, finds_what_markup_in_a_name_does)
{
    const struct {
        std::string text;
        std::size_t inserted_break; // npos: none
        markup_effect effect;
    } cases[] = {
        {"Smith & Wesson, AT&T, R&D Team, 3 < 5 Club, <3, &#Anna, a&#x;", NONE, no_markup},
        {"Jana<br>Nováková", 4, no_markup},
        {"Jan <Honza> Novák", NONE, changes_text},
        {"AT&T &copy; Smith", NONE, changes_text},
        {"Tom &nothing", NONE, changes_text},
        {"&#x41; &#65", NONE, changes_text},
        {"Ann <!-- note --> Bob, <!-->, </3, </>", NONE, changes_text},
        {"&lt;b&gt; &amp; &quot;&apos; &#60;&#x3c;&#61;", NONE, no_markup},
        {"<title>x</title> <b>", NONE, changes_text},
        {"Ann <script", NONE, changes_text},
        {"<img src<br>x>", 8, changes_text},
        {"<img src=x>", NONE, loads_from_elsewhere},
        {"<iframe src=x></iframe>", NONE, loads_from_elsewhere},
        {"<link rel=stylesheet href=x>", NONE, loads_from_elsewhere},
        {"<meta http-equiv=refresh content=0>", NONE, loads_from_elsewhere},
        {"<b style='background:url(x)'>", NONE, loads_from_elsewhere},
        {"<style>b{background:url(x)}</style>", NONE, loads_from_elsewhere},
        {"<script>alert(1)</script>", NONE, runs_script},
        {"<img src=x onerror=alert(1)>", NONE, runs_script},
        {"<a href=\" javascript:x\">", NONE, runs_script},
        {"Ann <!-- note", NONE, hides_later_tags},
        {"<script>x", NONE, hides_later_tags},
        {"<STYLE>x</style", NONE, hides_later_tags},
        {"<textarea>", NONE, hides_later_tags},
        {"Ann <script ", NONE, hides_later_tags},
        {"<plaintext>", NONE, hides_later_tags},
        {"<b title=\"x", NONE, hides_later_tags},
    };
    for (const auto &c : cases) {
        std::size_t at = c.inserted_break == NONE ? c.text.size() : c.inserted_break;
        EXPECT_EQ(c.effect, markup_in({c.text.data(), c.text.size()}, at)) << c.text;
    }
}

struct pages_case {
    tag_layout layout;
    long long tags;
    long long pages;
};

TEST(pages_for, breaks_pages_as_the_layout_does)
{
    const pages_case cases[] = {
        {four_panel, 0, 0},  {four_panel, 1, 1},  {four_panel, 10, 10}, {two_panel, 2, 1},
        {two_panel, 3, 2},   {two_panel, 10, 9},  {two_column, 6, 1},   {two_column, 7, 2},
        {two_column, 10, 3}, {two_column, 11, 4},
    };
    for (const pages_case &c : cases)
        EXPECT_EQ(c.pages, pages_for(c.layout, c.tags)) << c.layout << " " << c.tags;
}

// The page's print: a tag grown taller than its share runs on over the next page. Pages on A4
// and US Letter, as the sheet breaks them and filled, as Chrome prints them (the page tests
// hold these to the PDFs of three engines).
TEST(print_flow, counts_the_pages_of_the_print_by_paper)
{
    const struct {
        tag_layout layout;
        std::vector<long long> lines; // a tag's, or a pair's taller tag's
        long long a4[2];
        long long letter[2];
    } cases[] = {
        {four_panel, {2, 2, 3}, {3, 3}, {3, 3}},
        {four_panel, {4}, {2, 2}, {2, 2}},
        {two_panel, {2, 2, 2, 2, 2}, {4, 3}, {4, 3}},
        {two_panel, {2, 2, 3, 2}, {3, 2}, {3, 2}},
        {two_panel, {2, 2, 4, 2}, {3, 3}, {3, 3}},
        {two_panel, {2, 2, 6}, {2, 2}, {3, 3}},
        {two_column, {5, 1, 1}, {1, 1}, {2, 2}},
        {two_column, {1, 1, 1, 5, 1, 1}, {4, 2}, {4, 3}},
    };
    for (const auto &c : cases) {
        print_flow flow;
        start_print_flow(&flow, c.layout);
        for (long long lines : c.lines) {
            if (c.layout == two_column)
                flow_pair(&flow, lines);
            else
                flow_tag(&flow, lines);
        }
        for (int filled = 0; filled < 2; ++filled) {
            EXPECT_EQ(c.a4[filled], printed_pages(&flow, a4_paper, filled == 1)) << c.layout;
            EXPECT_EQ(c.letter[filled], printed_pages(&flow, letter_paper, filled == 1))
                << c.layout;
        }
    }
}

} // namespace
