// Tests of the CodeMax editor's text model and its text-kind classification.
#include "codemax/CCodeMaxDocument.h"

#include <gtest/gtest.h>

#include <utility>

#include "codemax/CodeMaxTextKind.h"

namespace {

// The caret as (line, column).
std::pair<int, int> CaretOf(const CCodeMaxDocument& doc) { return {doc.GetCaretLine(), doc.GetCaretColumn()}; }

TEST(CodeMaxDocument, SetTextSplitsLinesAndResetsCaret) {
  CCodeMaxDocument doc;
  EXPECT_EQ(doc.GetLineCount(), 1);
  EXPECT_TRUE(doc.IsEmpty());
  doc.SetCaret(0, 0);
  doc.SetText("one\r\ntwo\n\nfour");
  EXPECT_EQ(doc.GetLineCount(), 4);
  EXPECT_EQ(doc.GetLine(0), "one");
  EXPECT_EQ(doc.GetLine(1), "two");
  EXPECT_EQ(doc.GetLine(2), "");
  EXPECT_EQ(doc.GetLine(3), "four");
  EXPECT_EQ(doc.GetText(), "one\ntwo\n\nfour");
  EXPECT_EQ(CaretOf(doc), std::make_pair(0, 0));
}

TEST(CodeMaxDocument, LinesOutsideTheTextAreEmpty) {
  CCodeMaxDocument doc;
  doc.SetText("abc");
  EXPECT_EQ(doc.GetLine(1), "");
  EXPECT_EQ(doc.GetLine(-1), "");
  EXPECT_EQ(doc.GetLineLength(7), 0);
  EXPECT_EQ(doc.GetLineLength(-3), 0);
}

TEST(CodeMaxDocument, CaretIsClampedIntoTheText) {
  CCodeMaxDocument doc;
  doc.SetText("ab\nlonger");
  doc.SetCaret(0, 9);
  EXPECT_EQ(doc.GetCaretColumn(), 2);
  doc.SetCaret(5, 3);
  EXPECT_EQ(CaretOf(doc), std::make_pair(1, 3));
  doc.SetCaret(-1, -1);
  EXPECT_EQ(CaretOf(doc), std::make_pair(0, 0));
}

TEST(CodeMaxDocument, TypingNewLineBackspaceAndDelete) {
  CCodeMaxDocument doc;
  doc.InsertText("Foo(a)");
  EXPECT_EQ(doc.GetLine(0), "Foo(a)");
  EXPECT_EQ(doc.GetCaretColumn(), 6);
  doc.SetCaret(0, 4);
  doc.InsertChar('\n');
  EXPECT_EQ(doc.GetLine(0), "Foo(");
  EXPECT_EQ(doc.GetLine(1), "a)");
  EXPECT_EQ(CaretOf(doc), std::make_pair(1, 0));
  EXPECT_TRUE(doc.Backspace());  // joins the lines again
  EXPECT_EQ(doc.GetLineCount(), 1);
  EXPECT_EQ(doc.GetLine(0), "Foo(a)");
  EXPECT_EQ(doc.GetCaretColumn(), 4);
  EXPECT_TRUE(doc.Delete());
  EXPECT_EQ(doc.GetLine(0), "Foo()");
  doc.MoveEnd();
  EXPECT_FALSE(doc.Delete());  // end of text: nothing to delete
  doc.MoveHome();
  EXPECT_FALSE(doc.Backspace());  // start of text
  EXPECT_EQ(doc.GetText(), "Foo()");
}

TEST(CodeMaxDocument, ArrowsCrossLineEndsAndKeepTheColumnClamped) {
  CCodeMaxDocument doc;
  doc.SetText("abcdef\nxy\nlonger line");
  doc.SetCaret(0, 5);
  doc.MoveDown();
  EXPECT_EQ(CaretOf(doc), std::make_pair(1, 2));
  doc.MoveRight();
  EXPECT_EQ(CaretOf(doc), std::make_pair(2, 0));
  doc.MoveLeft();
  EXPECT_EQ(CaretOf(doc), std::make_pair(1, 2));
  doc.MoveUp();
  doc.MoveUp();  // already on the first line
  EXPECT_EQ(CaretOf(doc), std::make_pair(0, 2));
  doc.SetCaret(2, 11);
  doc.MoveRight();  // end of text
  doc.MoveDown();
  EXPECT_EQ(CaretOf(doc), std::make_pair(2, 11));
}

int KindAtEnd(const char* pszText) {
  CCodeMaxDocument doc;
  doc.SetText(pszText);
  int nLast = doc.GetLineCount() - 1;
  return CodeMaxTextKindAt(doc, nLast, doc.GetLineLength(nLast));
}

TEST(CodeMaxTextKind, CodeStringsCharactersAndComments) {
  EXPECT_EQ(KindAtEnd(""), kCodeMaxKindNoText);
  EXPECT_EQ(KindAtEnd("Foo"), kCodeMaxKindCode);
  EXPECT_EQ(KindAtEnd("x = \"abc"), kCodeMaxKindString);
  EXPECT_EQ(KindAtEnd("x = \"abc\" + Foo"), kCodeMaxKindCode);
  EXPECT_EQ(KindAtEnd("x = \"a\\\" Foo"), kCodeMaxKindString);  // escaped quote keeps the string open
  EXPECT_EQ(KindAtEnd("x = \"a\\\\\" Foo"), kCodeMaxKindCode);  // escaped backslash does not
  EXPECT_EQ(KindAtEnd("c = 'x"), kCodeMaxKindCharacter);
  EXPECT_EQ(KindAtEnd("c = '\\'' + Foo"), kCodeMaxKindCode);
  EXPECT_EQ(KindAtEnd("a / b"), kCodeMaxKindCode);
  EXPECT_EQ(KindAtEnd("a // Foo"), kCodeMaxKindLineComment);
  EXPECT_EQ(KindAtEnd("\"//\" Foo"), kCodeMaxKindCode);
  EXPECT_EQ(KindAtEnd("a /* Foo"), kCodeMaxKindBlockComment);
  EXPECT_EQ(KindAtEnd("a /*/ Foo"), kCodeMaxKindBlockComment);  // "/*/" stays open
  EXPECT_EQ(KindAtEnd("a /* x */ Foo"), kCodeMaxKindCode);
  EXPECT_EQ(KindAtEnd("// \"quoted"), kCodeMaxKindLineComment);
}

TEST(CodeMaxTextKind, OnlyBlockCommentsCrossLineEnds) {
  EXPECT_EQ(KindAtEnd("/* open\nstill Foo"), kCodeMaxKindBlockComment);
  EXPECT_EQ(KindAtEnd("/* open *\n/ still"), kCodeMaxKindBlockComment);
  EXPECT_EQ(KindAtEnd("/* open\nclosed */ Foo"), kCodeMaxKindCode);
  EXPECT_EQ(KindAtEnd("// comment\nFoo"), kCodeMaxKindCode);
  EXPECT_EQ(KindAtEnd("x = \"open\nFoo"), kCodeMaxKindCode);
}

TEST(CodeMaxTextKind, PositionInsideTheTextAndPairsSplitByTheCaret) {
  CCodeMaxDocument doc;
  doc.SetText("a // b");
  EXPECT_EQ(CodeMaxTextKindAt(doc, 0, 3), kCodeMaxKindCode);  // between the two slashes
  EXPECT_EQ(CodeMaxTextKindAt(doc, 0, 4), kCodeMaxKindLineComment);
  EXPECT_EQ(CodeMaxTextKindAt(doc, 0, 99), kCodeMaxKindLineComment);  // clamped to the end
  doc.SetText("s = \"x\"");
  EXPECT_EQ(CodeMaxTextKindAt(doc, 0, 4), kCodeMaxKindCode);
  EXPECT_EQ(CodeMaxTextKindAt(doc, 0, 5), kCodeMaxKindString);
  EXPECT_EQ(CodeMaxTextKindAt(doc, 0, 7), kCodeMaxKindCode);
}

}  // namespace
