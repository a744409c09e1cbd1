// The contents of the Properties and Event Mappings pages for the gauge:
// the entries listed, the stored strings applied, new logical events, and
// the strings composed at OK.
#include <set>
#include <string>

#include "KyActiveXControl.h"
#include "KyActiveXControlImpl.h"
#include "KyPropertyPages.h"
#include "axhostfixture.h"
#include "axres.h"

namespace {

class PropertyPages : public AxHostFixture {
 protected:
  void SetUp() override {
    AxHostFixture::SetUp();
    ASSERT_TRUE(gauge_.Create(KYGAUGE_PROGID, "", WS_CHILD | WS_VISIBLE, CRect(10, 10, 110, 60), &host_, 101,
                              "Caption=\"Start\"", "", nullptr, &host_));
    ASSERT_NE(gauge_.GetImpl(), nullptr);
  }
  void TearDown() override {
    gauge_.DestroyWindow();
    AxHostFixture::TearDown();
  }
  static KyPropEntry* find(KyPropEntries& entries, const char* name) {
    for (auto& entry : entries) {
      if (entry->m_name == name) return entry.get();
    }
    return nullptr;
  }
  KyActiveXControl gauge_;
};

}  // namespace

TEST_F(PropertyPages, ThePropertiesPageListsTheVisibleProperties) {
  KyPropEntries entries = ax::PropertyEntries(*gauge_.GetImpl());
  std::set<std::string> names;
  for (const auto& entry : entries) names.insert(static_cast<const char*>(entry->m_name));
  EXPECT_EQ(names, (std::set<std::string>{"BackColor", "Caption", "Count", "Enabled", "Font", "Shape", "Value"}));
  EXPECT_EQ(entries.size(), names.size());  // a get and a put make one entry
  KyPropEntry* caption = find(entries, "Caption");
  ASSERT_NE(caption, nullptr);
  EXPECT_STREQ(caption->m_value, "Start");
  EXPECT_FALSE(caption->m_modified);
  EXPECT_FALSE(find(entries, "Count")->m_editable);
  EXPECT_TRUE(find(entries, "Value")->m_editable);
}

TEST_F(PropertyPages, StoredPropertiesAreAppliedAndComposedAgain) {
  KyPropEntries entries = ax::PropertyEntries(*gauge_.GetImpl());
  ax::ApplyStoredProperties(entries, *gauge_.GetImpl(), "Caption=\"Half full\" Value=abc Unknown=1");
  KyPropEntry* caption = find(entries, "Caption");
  KyPropEntry* value = find(entries, "Value");
  EXPECT_TRUE(caption->m_modified);
  EXPECT_FALSE(caption->m_error);
  EXPECT_TRUE(value->m_modified);
  EXPECT_TRUE(value->m_error);
  CString text;
  ASSERT_TRUE(gauge_.GetProperty("Caption", text));
  EXPECT_STREQ(text, "Half full");

  find(entries, "Enabled")->SetValueText("False");
  value->Reset();  // a pair set from the stored string and reset is dropped
  EXPECT_STREQ(ax::ComposeEntries(entries), "Caption=\"Half full\" Enabled=0");
}

TEST_F(PropertyPages, EventMappingsOfferTheLogicalEventsAndTakeNewOnes) {
  CString all = "OK_Pressed\tEdit_Row";
  CString added;
  KyPropEntries entries = ax::EventEntries(*gauge_.GetImpl(), all, "Click=OK_Pressed");
  std::set<std::string> names;
  for (const auto& entry : entries) names.insert(static_cast<const char*>(entry->m_name));
  EXPECT_EQ(names, (std::set<std::string>{"Changed", "Click", "Reset"}));
  KyPropEntry* click = find(entries, "Click");
  EXPECT_STREQ(click->m_value, "OK_Pressed");
  EXPECT_TRUE(click->m_modified);
  EXPECT_EQ(click->m_enums.size(), 2u);

  KyPropEntry* reset = find(entries, "Reset");
  const struct {
    const char* name;
    UINT refusal;
  } cases[] = {{"", IDS_AX_EVENT_NAME_MISSING}, {"Edit_Row", IDS_AX_EVENT_EXISTS}, {"Gauge_Reset", 0}};
  for (const auto& c : cases) EXPECT_EQ(ax::AddLogicalEvent(c.name, all, &added, entries, reset), c.refusal) << c.name;
  EXPECT_STREQ(all, "OK_Pressed\tEdit_Row\tGauge_Reset");
  EXPECT_STREQ(added, "\tGauge_Reset");
  for (const auto& entry : entries) EXPECT_EQ(entry->m_enums.size(), 3u) << entry->m_name;
  EXPECT_STREQ(ax::ComposeEntries(entries), "Click=OK_Pressed Reset=Gauge_Reset");
}
