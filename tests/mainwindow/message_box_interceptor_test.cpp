// The interceptor that answers message boxes for the other tests.
#include <gtest/gtest.h>

#include "tests/support/message_box_interceptor.h"

TEST(MessageBoxInterceptorTest, AnswersWithTheQueuedButtonThenTheDefaultAndRecordsEachBox) {
    MessageBoxInterceptor boxes;
    boxes.Answer(IDNO);
    EXPECT_EQ(MessageBoxA(nullptr, "質問です", "表題", MB_YESNOCANCEL | MB_ICONQUESTION), IDNO);
    EXPECT_EQ(MessageBoxA(nullptr, "注意", "Quorvil", MB_OKCANCEL | MB_ICONWARNING), IDOK);
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(boxes.Boxes()[0].style, static_cast<UINT>(MB_YESNOCANCEL | MB_ICONQUESTION));
    EXPECT_EQ(boxes.Boxes()[1].style, static_cast<UINT>(MB_OKCANCEL | MB_ICONWARNING));
}
