#include "support/ErrorLayer.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace {

using ZRTPrimitiveSys::CategoryText;
using ZRTPrimitiveSys::CheckCondition;
using ZRTPrimitiveSys::ErrorCategory;
using ZRTPrimitiveSys::RaiseError;
using ZRTPrimitiveSys::ReportError;
using ZRTPrimitiveSys::ScopedReportCapture;
using ZRTPrimitiveSys::ZRTException;

TEST(ErrorCategoryTest, EightTextsAndNothingOutside) {
  const char* expected[] = {"Erro Lógico",         "Erro de Domínio",
                            "Argumento Inválido",  "Erro de Comprimento",
                            "Fora da Dimensão",    "Erro de Execução",
                            "Erro de Dimensão",    "Erro de Estravasamento"};
  for (int code = 0; code < 8; ++code)
    EXPECT_STREQ(CategoryText(static_cast<ErrorCategory>(code)), expected[code]);
  EXPECT_EQ(CategoryText(static_cast<ErrorCategory>(8)), nullptr);
  EXPECT_EQ(CategoryText(static_cast<ErrorCategory>(-1)), nullptr);
  EXPECT_EQ(CategoryText(static_cast<ErrorCategory>(-128)), nullptr);
  static_assert(sizeof(ErrorCategory) == 1);
  static_assert(std::is_signed_v<std::underlying_type_t<ErrorCategory>>);
}

TEST(RaiseErrorTest, ComposesTwoLinesAndThrowsZRTException) {
  try {
    RaiseError("TryOpenFile", "Arquivo x.txt é invalido", ErrorCategory::RuntimeError);
    FAIL() << "nothing was thrown";
  } catch (const std::exception& error) {  // caught through the standard base
    EXPECT_NE(dynamic_cast<const ZRTException*>(&error), nullptr);
    EXPECT_STREQ(error.what(),
                 "Objeto TryOpenFile:\nErro de Execução: Arquivo x.txt é invalido");
  }
}

TEST(RaiseErrorTest, CategoryOutsideRangeRaisesNothing) {
  EXPECT_NO_THROW(RaiseError("L", "M", static_cast<ErrorCategory>(8)));
  EXPECT_NO_THROW(RaiseError("L", "M", static_cast<ErrorCategory>(-1)));
  EXPECT_NO_THROW(CheckCondition(false, "L", "M", static_cast<ErrorCategory>(8)));
}

TEST(RaiseErrorTest, CheckConditionThrowsOnlyWhenFalse) {
  EXPECT_NO_THROW(CheckCondition(true, "L", "M", ErrorCategory::LogicError));
  EXPECT_THROW(CheckCondition(false, "L", "M", ErrorCategory::LogicError), ZRTException);
}

TEST(RaiseErrorTest, LongTextIsBoundedTo255Characters) {
  const std::string longMessage(400, 'x');
  try {
    RaiseError("TryOpenFile", longMessage.c_str(), ErrorCategory::RuntimeError);
    FAIL();
  } catch (const ZRTException& error) {
    const std::string text = error.what();
    EXPECT_EQ(text.size(), 255u);
    EXPECT_EQ(text.rfind("Objeto TryOpenFile:\nErro de Execução: xxx", 0), 0u);
  }
}

TEST(ReportTest, ReportWritesOnceAndAcknowledgesOnce) {
  ScopedReportCapture capture;
  try {
    RaiseError("Obj", "falhou", ErrorCategory::LogicError);
  } catch (const std::exception& error) {
    ReportError(error);
  }
  ASSERT_EQ(capture.Count(), 1u);
  ASSERT_EQ(capture.Written().size(), 1u);
  EXPECT_EQ(capture.Written()[0], "Erro: \nObjeto Obj:\nErro Lógico: falhou\n");
  EXPECT_EQ(capture.Last(), "Objeto Obj:\nErro Lógico: falhou");
}

TEST(ReportTest, ObjectLabelFormAndAllocationForm) {
  ScopedReportCapture capture;
  ReportError("ZRTPrimitiveSys::ZRTObjects", ZRTException("texto"));
  ZRTPrimitiveSys::ReportAllocationFailure("double");
  ASSERT_EQ(capture.Written().size(), 2u);
  EXPECT_EQ(capture.Written()[0], "Erro: \nZRTPrimitiveSys::ZRTObjects: texto\n");
  EXPECT_EQ(capture.Written()[1], "Erro Fatal: \nMemory allocation:\nObject: double\n");
  EXPECT_EQ(capture.Count(), 2u);
}

TEST(ReportTest, CaptureRestoresPreviousHookAndSink) {
  std::vector<std::string> outerAcknowledged;
  std::vector<std::string> outerWritten;
  auto previousHook = ZRTPrimitiveSys::SetAcknowledgeHook(
      [&](const std::string& report) { outerAcknowledged.push_back(report); });
  auto previousSink = ZRTPrimitiveSys::SetReportSink(
      [&](std::string_view written) { outerWritten.emplace_back(written); });
  {
    ScopedReportCapture inner;
    ZRTPrimitiveSys::ReportAllocationFailure("char");
    EXPECT_EQ(inner.Count(), 1u);
    EXPECT_EQ(inner.Last(), "Memory allocation:\nObject: char");
  }
  EXPECT_TRUE(outerAcknowledged.empty());
  EXPECT_TRUE(outerWritten.empty());
  ZRTPrimitiveSys::ReportAllocationFailure("unsigned int");
  EXPECT_EQ(outerAcknowledged, std::vector<std::string>{"Memory allocation:\nObject: unsigned int"});
  EXPECT_EQ(outerWritten,
            std::vector<std::string>{"Erro Fatal: \nMemory allocation:\nObject: unsigned int\n"});
  ZRTPrimitiveSys::SetAcknowledgeHook(previousHook);
  ZRTPrimitiveSys::SetReportSink(previousSink);
}

}  // namespace
