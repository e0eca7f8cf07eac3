// The form description reader, and building a form from a description.
#include <gtest/gtest.h>

#include <cstring>

#include "Application.h"
#include "Exceptions.h"
#include "FormReader.h"
#include "Forms.h"
#include "Timer.h"

namespace {

TFormObject Read(const std::string& text) { return ReadFormDescription(text.data(), text.size()); }

TEST(FormReader, ReadsObjectsPropertiesAndEveryKindOfValue) {
  const TFormObject form = Read(
      "object frmMain: TfrmMain\n"
      "  Left = 533\n"
      "  Font.Height = -11\n"
      "  Caption = ' Tavrino'\n"
      "  Hint = 'it''s'#13#10 + 'two'\n"
      "  BorderStyle = bsDialog\n"
      "  Font.Style = [fsBold, fsItalic]\n"
      "  Empty = []\n"
      "  object Timer1: TTimer\n"
      "    Enabled = False\n"
      "  end\n"
      "end\n");
  EXPECT_EQ("frmMain", form.name);
  EXPECT_EQ("TfrmMain", form.className);
  ASSERT_EQ(7u, form.properties.size());
  EXPECT_EQ(533, form.properties[0].value.integer);
  EXPECT_EQ("Font.Height", form.properties[1].name);
  EXPECT_EQ(-11, form.properties[1].value.integer);
  EXPECT_EQ(" Tavrino", form.properties[2].value.text);
  EXPECT_EQ("it's\r\ntwo", form.properties[3].value.text);
  EXPECT_EQ(TFormValue::Kind::Identifier, form.properties[4].value.kind);
  EXPECT_EQ((std::vector<std::string>{"fsBold", "fsItalic"}), form.properties[5].value.items);
  EXPECT_TRUE(form.properties[6].value.items.empty());
  ASSERT_EQ(1u, form.children.size());
  EXPECT_EQ("Timer1", form.children[0].name);
  EXPECT_EQ("Enabled", form.children[0].properties[0].name);
  EXPECT_EQ(9, form.children[0].line);
}

TEST(FormReader, RejectsMalformedDescriptionsWithTheLine) {
  struct Case {
    const char* text;
    const char* message;  // part of the error message
  };
  const Case cases[] = {
      {"", "line 1: identifier expected"},
      {"thing A: B\nend", "'object' expected"},
      {"object A B\nend", "':' expected"},
      {"object A: B\n  Left 5\nend", "line 2: '=' expected"},
      {"object A: B\n  Left = ,\nend", "line 2: value expected"},
      {"object A: B\n  Caption = 'open\nend", "unterminated string"},
      {"object A: B\n  Left = 99999999999\nend", "out of range"},
      {"object A: B\n  Left = 12ab\nend", "invalid integer"},
      {"object A: B\n  Caption = #300\nend", "character code out of range"},
      {"object A: B\n  Caption = 'a' +\nend", "string expected after '+'"},
      {"object A: B\n  S = [a,]\nend", "line 2: identifier expected"},
      {"object A: B\n  Left = 1\n", "identifier expected"},
      {"object A: B\nend\nend", "text after the final 'end'"},
      {"object A: B\n  Left = @\nend", "value expected"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    try {
      Read(c.text);
      ADD_FAILURE() << "no error";
    } catch (const EReadError& e) {
      EXPECT_NE(std::string::npos, e.Message().find(c.message)) << e.Message();
    }
  }
}

TEST(FormReader, BoundsNestingAndSize) {
  std::string deep;
  for (int i = 0; i < 50; ++i) deep += "object A: B\n";
  for (int i = 0; i < 50; ++i) deep += "end\n";
  EXPECT_THROW(Read(deep), EReadError);
  EXPECT_THROW(Read(std::string(kMaxFormDescriptionSize + 1, ' ')), EReadError);
  EXPECT_EQ(INT32_MIN, Read("object A: B\n X = -2147483648\nend").properties[0].value.integer);
  EXPECT_THROW(Read("object A: B\n X = 2147483648\nend"), EReadError);
}

// A form class of the tests' own, bound by name like the program's.
class TTestForm : public TForm {
 public:
  TTimer* Clock = nullptr;
  int created = 0;
  int ticks = 0;
  void FormCreate(TObject*) { ++created; }
  void ClockTimer(TObject*) { ++ticks; }

  TTestForm(TComponent* owner, const std::string& text) : TForm(owner) {
    ReadForm(Class, text.data(), text.size());
  }
  static const TFormClass Class;
};

const TPublishedField kTestFields[] = {
    PublishedField<TTestForm, TTimer, &TTestForm::Clock>("Clock", "TTimer")};
const TPublishedMethod kTestMethods[] = {
    PublishedMethod<TTestForm, &TTestForm::FormCreate>("FormCreate"),
    PublishedMethod<TTestForm, &TTestForm::ClockTimer>("ClockTimer")};
const TFormClass TTestForm::Class = {"TTestForm", kTestFields, 1, kTestMethods, 2};

TEST(FormBinding, BuildsTheFormAndBindsHandlersByName) {
  TComponent owner(nullptr);
  TTestForm* form = new TTestForm(&owner,
                                  "object Test: TTestForm\n"
                                  "  Caption = ' Tavrino'\n"
                                  "  Left = 533\n"
                                  "  BorderStyle = bsDialog\n"
                                  "  Color = clBtnFace\n"
                                  "  Font.Charset = DEFAULT_CHARSET\n"
                                  "  OldCreateOrder = False\n"
                                  "  OnCreate = FormCreate\n"
                                  "  object Clock: TTimer\n"
                                  "    Enabled = False\n"
                                  "    OnTimer = ClockTimer\n"
                                  "  end\n"
                                  "end\n");
  EXPECT_EQ("Test", form->Name());
  EXPECT_EQ(" Tavrino", form->Caption);
  EXPECT_EQ(533, form->Left);
  ASSERT_NE(nullptr, form->Clock);
  EXPECT_EQ(form, form->Clock->Owner());
  EXPECT_EQ("Clock", form->Clock->Name());
  EXPECT_FALSE(form->Clock->Enabled());
  EXPECT_EQ(1000u, form->Clock->Interval());  // not stored: the default applies
  EXPECT_EQ(0, form->created);                // the new order: after construction
  form->AfterConstruction();
  EXPECT_EQ(1, form->created);
  form->Clock->OnTimer()(form->Clock);
  EXPECT_EQ(1, form->ticks);
}

TEST(FormBinding, RejectsUnknownNamesAndBadValues) {
  struct Case {
    const char* body;
    const char* message;
  };
  const Case cases[] = {
      {"  Colour = clRed\n", "Property Colour does not exist"},
      {"  OnCreate = FormDestroy\n", "Method FormDestroy not found"},
      {"  Left = 'x'\n", "Invalid property value for Left"},
      {"  BorderStyle = bsRound\n", "Invalid property value for BorderStyle"},
      {"  OldCreateOrder = Maybe\n", "Invalid property value"},
      {"  Font.Style = [fsBlink]\n", "Invalid property value"},
      {"  object Timer2: TTimer\n  end\n", "Field Test.Timer2 does not exist"},
      {"  object Clock: TButton\n  end\n", "is not a TButton"},
      {"  object Clock: TTimer\n    Intervall = 5\n  end\n", "Property Intervall does not exist"},
      {"  object Clock: TTimer\n    OnTimer = Tick\n  end\n", "Method Tick not found"},
      {"  object Clock: TTimer\n  end\n  object Clock: TTimer\n  end\n", "already exists"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.body);
    TComponent owner(nullptr);
    try {
      new TTestForm(&owner, std::string("object Test: TTestForm\n") + c.body + "end\n");
      ADD_FAILURE() << "no error";
    } catch (const Exception& e) {
      EXPECT_NE(std::string::npos, e.Message().find(c.message)) << e.Message();
    }
  }
  TComponent owner(nullptr);
  EXPECT_THROW(new TTestForm(&owner, "object Test: TOtherForm\nend\n"), EReadError);
}

}  // namespace
