// The run-time class registry and the persistent-object base.
#include <gtest/gtest.h>

#include <algorithm>

#include "document/RuntimeClass.h"

namespace jorvo::runtime_class_test {

class RtcShape : public PersistentObject {
    JORVO_DECLARE_PERSISTENT(RtcShape)
    void SerializeXML(CXMLArchive&) override {}
};
JORVO_IMPLEMENT_ABSTRACT(RtcShape, PersistentObject)

class RtcCircle : public RtcShape {
    JORVO_DECLARE_PERSISTENT(RtcCircle)
    void Serialize(BinaryArchive&) override {}
};
JORVO_IMPLEMENT_PERSISTENT(RtcCircle, RtcShape, 3)

class RtcRing : public RtcCircle {
    JORVO_DECLARE_PERSISTENT(RtcRing)
};
JORVO_IMPLEMENT_PERSISTENT(RtcRing, RtcCircle, 0)

class RtcSquare : public RtcShape {
    JORVO_DECLARE_PERSISTENT(RtcSquare)
    void Serialize(BinaryArchive&) override {}
};
JORVO_IMPLEMENT_PERSISTENT(RtcSquare, RtcShape, 0)

TEST(RuntimeClass, RecordsCarryNameSchemaAndBase)
{
    const RuntimeClass& circle = RtcCircle::StaticRuntimeClass();
    EXPECT_EQ(circle.Name(), "RtcCircle");
    EXPECT_EQ(circle.Schema(), 3);
    EXPECT_EQ(circle.Base(), &RtcShape::StaticRuntimeClass());
    EXPECT_FALSE(circle.IsAbstract());
    EXPECT_TRUE(RtcShape::StaticRuntimeClass().IsAbstract());
    EXPECT_EQ(RtcShape::StaticRuntimeClass().Base(), &PersistentObject::StaticRuntimeClass());
    EXPECT_EQ(PersistentObject::StaticRuntimeClass().Base(), nullptr);
}

TEST(RuntimeClass, RegisteredClassesAreFoundByStoredName)
{
    EXPECT_EQ(RuntimeClass::FromName("RtcCircle"), &RtcCircle::StaticRuntimeClass());
    EXPECT_EQ(RuntimeClass::FromName("RtcRing"), &RtcRing::StaticRuntimeClass());
    EXPECT_EQ(RuntimeClass::FromName("RtcShape"), &RtcShape::StaticRuntimeClass());
    EXPECT_EQ(RuntimeClass::FromName("rtccircle"), nullptr);   // names are exact
    EXPECT_EQ(RuntimeClass::FromName("RtcTriangle"), nullptr);
    EXPECT_EQ(RuntimeClass::FromName(""), nullptr);
    const auto all = RuntimeClass::RegisteredClasses();
    EXPECT_NE(std::find(all.begin(), all.end(), &RtcSquare::StaticRuntimeClass()), all.end());
}

TEST(RuntimeClass, CreateObjectMakesTheNamedClass)
{
    const auto object = RuntimeClass::FromName("RtcRing")->CreateObject();
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(&object->GetRuntimeClass(), &RtcRing::StaticRuntimeClass());
    EXPECT_EQ(RtcShape::StaticRuntimeClass().CreateObject(), nullptr);
}

TEST(RuntimeClass, KindChecksFollowTheBaseChain)
{
    RtcRing ring;
    RtcSquare square;
    EXPECT_TRUE(ring.IsKindOf<RtcRing>());
    EXPECT_TRUE(ring.IsKindOf<RtcCircle>());
    EXPECT_TRUE(ring.IsKindOf<RtcShape>());
    EXPECT_TRUE(ring.IsKindOf(PersistentObject::StaticRuntimeClass()));
    EXPECT_FALSE(ring.IsKindOf<RtcSquare>());
    EXPECT_FALSE(square.IsKindOf<RtcCircle>());
    EXPECT_FALSE(RtcCircle::StaticRuntimeClass().IsDerivedFrom(RtcRing::StaticRuntimeClass()));

    PersistentObject* asBase = &ring;
    EXPECT_EQ(PersistentCast<RtcCircle>(asBase), &ring);
    EXPECT_EQ(PersistentCast<RtcSquare>(asBase), nullptr);
    EXPECT_EQ(PersistentCast<RtcCircle>(static_cast<PersistentObject*>(nullptr)), nullptr);
    const PersistentObject* asConst = &square;
    EXPECT_EQ(PersistentCast<RtcShape>(asConst), &square);
}

TEST(RuntimeClass, RegisteringAgainKeepsTheFirstRecord)
{
    EXPECT_TRUE(RuntimeClass::Register(RtcCircle::StaticRuntimeClass()));
    static const RuntimeClass impostor("RtcCircle", 0, &PersistentObject::StaticRuntimeClass(), nullptr);
    EXPECT_FALSE(RuntimeClass::Register(impostor));
    EXPECT_EQ(RuntimeClass::FromName("RtcCircle"), &RtcCircle::StaticRuntimeClass());
}

} // namespace jorvo::runtime_class_test
