// Random and mutated skins must never crash or hang the reader or the grammars: every
// input either parses into a walkable tree or fails with one of the known texts.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>

#include "ui/core/image_description.h"
#include "ui/core/markup_document.h"
#include "ui/core/text_decoding.h"
#include "ui/core/value_grammar.h"

namespace {

using namespace SkinUI;

const wchar_t* const kSeeds[] = {
    L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
    L"<Window size=\"600,400\" caption=\"0,0,0,40\" roundcorner=\"4,4\" showshadow=\"true\">\r\n"
    L"  <Font id=\"0\" name=\"微软雅黑\" size=\"12\" bold=\"false\" default=\"true\"/>\r\n"
    L"  <Default name=\"Button\" value=\"textcolor=&quot;#FF000000&quot; font=&quot;0&quot;\"/>\r\n"
    L"  <!-- <Label name=\"old\"/> -->\r\n"
    L"  <VerticalLayout bkimage=\"file='res/mainWnd/bg1.png' corner='2,2,2,2' fade='200'\">\r\n"
    L"    <HorizontalLayout height=\"40\"><Control/><Button name=\"closebtn\" width=\"30\" "
    L"normalimage=\"res\\common\\closebtn1.png\"/></HorizontalLayout>\r\n"
    L"    <TabLayout name=\"pages\"><Label text=\"R&amp;D %{1}\" pos=\"0,0,10,0\" float=\"true\"/>"
    L"</TabLayout>\r\n"
    L"  </VerticalLayout>\r\n"
    L"</Window>\r\n",
    L"<a x=\"1\"><b/><c y=\"&lt;&gt;\">t</c></a>",
    L"file='a.png' dest='84,2,100,18' source='0,0,16,16' corner='2,2,2,2' mask='#FF00FF' "
    L"fade='128' hole='true' xtiled='true' ytiled='false' hsl='true' color='#FF1675FE'",
};

const wchar_t kAlphabet[] = L"<>/=\"'!?-&;#, abcxyz0129\r\n\t:_%{}amp;lt;中";

class Mutator {
public:
    explicit Mutator(uint32_t seed) : random_(seed) {}

    size_t Below(size_t limit) { return limit == 0 ? 0 : std::uniform_int_distribution<size_t>(0, limit - 1)(random_); }

    wchar_t AnyCharacter() {
        switch (Below(4)) {
        case 0: return static_cast<wchar_t>(Below(0x80));
        case 1: return static_cast<wchar_t>(Below(0x10000));
        default: return kAlphabet[Below(std::size(kAlphabet) - 1)];
        }
    }

    std::wstring Random(size_t maxLength) {
        std::wstring text(Below(maxLength + 1), L' ');
        for (auto& c : text) c = AnyCharacter();
        return text;
    }

    std::wstring Mutate(std::wstring text) {
        const size_t edits = 1 + Below(8);
        for (size_t i = 0; i < edits; ++i) {
            const size_t at = Below(text.size() + 1);
            switch (Below(5)) {
            case 0: if (at < text.size()) text[at] = AnyCharacter(); break;
            case 1: text.insert(text.begin() + at, AnyCharacter()); break;
            case 2: if (at < text.size()) text.erase(at, 1 + Below(16)); break;
            case 3: text.resize(at); break;  // truncation, as in a damaged file
            default: {
                const size_t from = Below(text.size());
                const size_t length = Below(32);
                text.insert(at, text.substr(from, length));
            }
            }
        }
        return text;
    }

private:
    std::mt19937 random_;
};

const std::set<std::wstring> kErrorTexts = {
    L"Expected start tag",          L"Error parsing element name", L"Expected start-tag closing",
    L"Expected end-tag start",      L"Unmatched closing tag",      L"Error while parsing attributes",
    L"Expected attribute value",    L"Error while parsing attribute string",
};

size_t CountElements(MarkupNode node, size_t depth, size_t& maxDepth) {
    size_t count = 0;
    maxDepth = std::max(maxDepth, depth);
    for (; node.IsValid(); node = node.GetSibling()) {
        ++count;
        for (size_t i = 0; i < node.GetAttributeCount(); ++i) {
            (void)node.GetAttributeName(i);
            (void)node.GetAttributeValue(i);
        }
        count += CountElements(node.GetChild(), depth + 1, maxDepth);
        if (depth > 200) break;  // the walk itself is recursive; the inputs stay shallow
    }
    return count;
}

void CheckMarkup(const std::wstring& text) {
    CMarkupDocument document;
    if (document.LoadFromString(text)) {
        size_t maxDepth = 0;
        const size_t elements = CountElements(document.GetRoot(), 0, maxDepth);
        ASSERT_LE(elements, text.size());
        ASSERT_TRUE(document.GetLastErrorMessage().empty());
    } else {
        ASSERT_EQ(kErrorTexts.count(document.GetLastErrorMessage()), 1u);
        ASSERT_LE(document.GetLastErrorLocation().size(), CMarkupDocument::kErrorLocationLength);
        ASSERT_FALSE(document.GetRoot().IsValid());
    }
}

void CheckValueParsers(const std::wstring& text) {
    const ImageDescription image = ParseImageDescription(text);
    ASSERT_LE(image.name.size(), text.size());
    (void)ParseRect(text);
    (void)ParsePair(text);
    (void)ParseColor(text);
    (void)ParseInteger(text);
    ASSERT_LE(ParseAttributeList(text).size(), text.size());
    (void)SubstituteTextReferences(text, [](int32_t id) -> std::optional<std::wstring> {
        if (id % 2 == 0) return L"%{" + std::to_wstring(id + 1) + L"}";
        return std::nullopt;
    });
}

TEST(MarkupFuzz, MutatedSkinsNeverCrash) {
    Mutator mutator(20261211);
    for (int round = 0; round < 20000; ++round) {
        std::wstring text = mutator.Mutate(kSeeds[mutator.Below(std::size(kSeeds))]);
        if (mutator.Below(4) == 0) text = mutator.Mutate(text);
        SCOPED_TRACE(round);
        CheckMarkup(text);
        CheckValueParsers(text);
        if (HasFatalFailure()) return;
    }
}

TEST(MarkupFuzz, RandomTextNeverCrashes) {
    Mutator mutator(4242);
    for (int round = 0; round < 6000; ++round) {
        const std::wstring text = mutator.Random(200);
        SCOPED_TRACE(round);
        CheckMarkup(text);
        CheckValueParsers(text);
        if (HasFatalFailure()) return;
    }
}

TEST(MarkupFuzz, RandomBytesDecodeToText) {
    Mutator mutator(77);
    for (int round = 0; round < 4000; ++round) {
        std::string bytes(mutator.Below(64), '\0');
        for (auto& b : bytes) b = static_cast<char>(mutator.Below(256));
        if (mutator.Below(3) == 0) bytes.insert(0, "\xEF\xBB\xBF");
        const std::wstring utf8 = DecodeUtf8(bytes.data(), bytes.size());
        ASSERT_LE(utf8.size(), bytes.size());
        const auto utf16 = DecodeUtf16WithMark(bytes.data(), bytes.size());
        if (utf16) {
            ASSERT_EQ(utf16->size(), (bytes.size() - 2) / 2);
        }
        CheckMarkup(utf8);
        if (HasFatalFailure()) return;
    }
}

}  // namespace
