#include <gtest/gtest.h>

#include "core/viewer/ServerTexts.h"

namespace {

TEST(ServerTexts, TheRecordersOwnTypeReplacesTheRecordsGuessOnceTheBlockCame)
{
    const ServerDescriptor gate{"Gate", "127.0.0.1"};
    EXPECT_EQ(DescribeServer(gate, "MODEL_A", std::nullopt), (ServerTexts{"Gate", "127.0.0.1", "MODEL_A", ""}));
    EXPECT_EQ(DescribeServer(gate, "MODEL_A", 3), (ServerTexts{"Gate", "127.0.0.1", "MODEL_C", "H.264"}));
    EXPECT_EQ(DescribeServer(gate, "", 6).model, "MODEL_F");
    // A type code outside the family keeps what the record said.
    EXPECT_EQ(DescribeServer(gate, "MODEL_B", 9).model, "MODEL_B");
    EXPECT_EQ(DescribeServer(gate, "", 0).model, "");
}

} // namespace
