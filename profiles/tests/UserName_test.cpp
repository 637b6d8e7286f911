#include "UserName.h"

#include <gtest/gtest.h>

#include <string>

TEST(UserNameTest, TheNameRule)
{
    const std::string nineteen(19, 'a'), twenty(20, 'a');
    const struct
    {
        std::string name;
        bool valid, tooLong;
    } cases[] = {
        {"Tester", true, false},        {"A", true, false},
        {nineteen, true, false},        {twenty, false, true},
        {"", false, false},             {" Ann", false, false},
        {"\tAnn", false, false},        {"Ann ", false, false},
        {"Ann\t", false, false},        {"A.n.n", true, false},
        {"A.n.n.a", false, false},      {"Mary Jo Smith", true, false},
        {"Ma ry Jo Smith", false, false}, {"Jean-Luc-P", true, false},
        {"Jean-Luc-P-Q", false, false}, {"UnSeLeCtEd", false, false},
        {"xxFERNBROOKSxx", false, false}, {"fb monitor", false, false},
        {"Not Selected", false, false}, {"Sunset", false, false}, // "unset" anywhere
        {"O'Neil", false, false},       {"a_b", false, false},
        {"x?", false, false},           {"50%", false, false},
        {"Dave99", true, false},
    };
    for (const auto &c : cases)
    {
        SCOPED_TRACE("<" + c.name + ">");
        bool tooLong = !c.tooLong;
        EXPECT_EQ(UserNameIsValid(c.name.c_str(), USER_NAME_MAX_LENGTH_RULE, &tooLong), c.valid);
        EXPECT_EQ(tooLong, c.tooLong);
    }
    // Every one of the 28 refused characters, between letters.
    for (char c : std::string("\t\"'{}[]|\\/!@#$%^&*()_+:;<>,?"))
    {
        std::string name = std::string("Ab") + c + "cd";
        SCOPED_TRACE(name);
        EXPECT_FALSE(UserNameIsValid(name.c_str(), USER_NAME_MAX_LENGTH_RULE, nullptr));
    }
    EXPECT_FALSE(UserNameIsValid(nullptr, USER_NAME_MAX_LENGTH_RULE, nullptr));
    // A name the rule allows but a player file cannot carry is not acceptable.
    EXPECT_TRUE(UserNameIsValid("Zo\xEB", USER_NAME_MAX_LENGTH_RULE, nullptr));
    EXPECT_FALSE(UserNameIsAcceptable("Zo\xEB", nullptr));
    EXPECT_TRUE(UserNameIsAcceptable("Mary Jo", nullptr));
}
