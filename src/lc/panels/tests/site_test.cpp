// Panels nested in a site of their parent: the child panel's control among
// the site's, the replace flag ending the child before, keys handed from
// the nested panel to its parents, and what the parent shows.
#include <gtest/gtest.h>

#include <internal/snapshot.h>

#include "KyKeyHook.h"
#include "KySite.h"
#include "panelharness.h"

namespace {

using kytest::RecordingPanel;

class Sites : public kytest::PanelHarness {
 protected:
  // A shown top window with a site named "Orders" (name string 20001 of the
  // frame library is "Customer": the site's name).
  RecordingPanel* parentWithSite(KySite*& pSite) {
    RecordingPanel* p = made(KyTopWindow);
    pSite = new KySite(p, kytest::controlRecord(40, KySite::kKind, 16, 16, 160, 100, 0, 20001));
    p->AddControl(pSite);
    p->StartPanel();
    return p;
  }
  RecordingPanel* child(KyPanel* pParent) { return made(KySiteChild, pParent, kytest::kGeneratedOptions, WS_CAPTION); }
};

TEST_F(Sites, ChildPanelEntersTheCurrentSite) {
  KySite* pSite = nullptr;
  RecordingPanel* parent = parentWithSite(pSite);
  ASSERT_EQ(parent->SetSite("customer", 0), 1);
  EXPECT_EQ(parent->SetSite("Nowhere", 0), 0);
  // With a tab stop and a border (the second and third child options).
  RecordingPanel* nested = panel(parent);
  nested->SetChildPanelOptions(0, 1, 1);
  ASSERT_TRUE(nested->Init(KySiteChild, WS_CAPTION, kytest::kGeneratedOptions, kytest::kDesignUnits, 1, 0));
  addStatic(nested, 1, 8, 8);
  nested->StartPanel();
  ASSERT_EQ(pSite->GetChildControls().size(), 1u);
  const KyChildPanelCtrl& control = *pSite->GetChildControls()[0];
  EXPECT_EQ(control.GetKind(), KyChildPanelCtrl::kKind);
  EXPECT_EQ(const_cast<KyChildPanelCtrl&>(control).GetWindowHandle(), nested->hHandle());
  EXPECT_STREQ(control.GetName(), nested->GetFunctionData()->GetFunctionName().GetString());
  EXPECT_EQ(pSite->GetCurrentChild(), nested);
  EXPECT_EQ(GetParent(nested->hHandle()), parent->ViewHandle()) << "the child lives on the parent's view";
  const DWORD style = GetWindowLongA(nested->hHandle(), GWL_STYLE);
  EXPECT_EQ(style & (WS_CHILD | WS_CAPTION | WS_POPUP | WS_TABSTOP | WS_BORDER),
            DWORD(WS_CHILD | WS_TABSTOP | WS_BORDER))
      << "the caller's style is replaced";
  EXPECT_TRUE(style & WS_VISIBLE) << "the site is visible";
  RECT rc{};
  GetWindowRect(nested->hHandle(), &rc);
  MapWindowPoints(nullptr, parent->ViewHandle(), reinterpret_cast<POINT*>(&rc), 2);
  const RECT place = pSite->GetPlace();
  EXPECT_EQ(rc.left, place.left);
  EXPECT_EQ(rc.top, place.top);
  EXPECT_EQ(rc.right - rc.left, place.right - place.left);
  EXPECT_TRUE(pSite->OwnsWindow(nested->ViewHandle()));
  EXPECT_FALSE(pSite->OwnsWindow(parent->hHandle()));

  // Looked at: the child panel in the parent's site.
  const std::string png = (dir_.path() / "site.png").string();
  ASSERT_TRUE(win32::snapshot::saveWindowPng(parent->hHandle(), png.c_str()));
  RECT frame{}, border{};
  GetWindowRect(parent->hHandle(), &frame);
  GetWindowRect(nested->hHandle(), &border);
  EXPECT_NE(win32::snapshot::windowPixel(parent->hHandle(), border.left - frame.left, (border.top + border.bottom) / 2 - frame.top),
            GetSysColor(COLOR_WINDOW))
      << "the nested panel's border";

  // The child goes: its control leaves the site.
  nested->PanelReturn();
  pump();
  panels_.erase(std::find_if(panels_.begin(), panels_.end(), [&](auto& p) { return p.get() == nested; }));
  EXPECT_TRUE(pSite->GetChildControls().empty());
  EXPECT_EQ(pSite->GetCurrentChild(), nullptr);
}

TEST_F(Sites, ReplaceFlagEndsTheChildBefore) {
  for (int replace : {0, 1}) {
    KySite* pSite = nullptr;
    RecordingPanel* parent = parentWithSite(pSite);
    parent->SetSite("Customer", replace);
    RecordingPanel* first = child(parent);
    first->StartPanel();
    RecordingPanel* second = child(parent);
    second->StartPanel();
    pump();
    EXPECT_EQ(first->IsReturning(), replace == 1) << replace;
    EXPECT_EQ(first->hHandle() == nullptr, replace == 1) << replace;
    EXPECT_EQ(pSite->GetChildControls().size(), replace ? 1u : 2u) << replace;
    EXPECT_EQ(pSite->GetCurrentChild(), second);
    EXPECT_EQ(pSite->GetChildControls().back()->GetId(), pSite->GetNextPosition() - 1);
  }
}

TEST_F(Sites, ParentClosingEndsItsChildren) {
  KySite* pSite = nullptr;
  RecordingPanel* parent = parentWithSite(pSite);
  parent->SetSite("Customer", 0);
  RecordingPanel* a = child(parent);
  a->StartPanel();
  RecordingPanel* b = child(parent);
  b->StartPanel();
  pSite->CloseChildPanels();
  EXPECT_TRUE(a->IsReturning());
  EXPECT_TRUE(b->IsReturning());
}

TEST_F(Sites, NestedPanelHandsKeysToItsParents) {
  KyKeyHook hook;
  ASSERT_TRUE(hook.Install());
  RecordingPanel* frame = made(KyMDIFrame);
  frame->StartPanel();
  RecordingPanel* outer = made(KyMDIChild, frame);
  KySite* pSite = new KySite(outer, kytest::controlRecord(40, KySite::kKind, 16, 16, 160, 100, 0, 20001));
  outer->AddControl(pSite);
  outer->StartPanel();
  outer->SetSite("Customer", 0);
  RecordingPanel* nested = child(outer);
  nested->StartPanel();
  std::vector<KyPanel*> offered;
  for (RecordingPanel* p : {frame, outer, nested}) p->keyLog = &offered;
  app_->SetActivePanel(nested);
  win32::input::keyPress('Q');
  pump();
  EXPECT_EQ(offered, (std::vector<KyPanel*>{nested, outer, frame}));
  hook.Remove();
}

}  // namespace
