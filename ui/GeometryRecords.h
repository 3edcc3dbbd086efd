#pragma once
// The geometry value classes: a position (rg_WeiZhiLei: x, y), a size (rg_CheCunLei: width,
// height) and the window-limits record of the form's SizeLimits event
// (rg_ChuangKouWeiZhiXianZhiXinXi: the four points of MINMAXINFO). They copy, compare, reset, dump
// and stream their integers (4 bytes each, little-endian). Plain data: one thread at a time.
#include "runtime/CQrnObject.h"

#include <cstdint>

struct MINMAXINFO;

namespace rg_quarn_base {

// The shared body of the two pairs of integers.
class IntegerPair : public rg_KuoZhanDuiXiangLei {
public:
    bool IsEqual(const CQrnObject& other) const override;
    bool CopyFrom(const CQrnObject& source) override;
    void Reset() override;
    void LoadFromStream(CQrnStream& stream) override;
    void SaveToStream(CQrnStream& stream) const override;

protected:
    IntegerPair() = default;
    IntegerPair(const IntegerPair&) = default;
    // "{ first: a; second: b }" with the class's two labels.
    void DumpPair(CWString& text, const char16_t* firstLabel, const char16_t* secondLabel) const;
    virtual int32_t& First() = 0;
    virtual int32_t& Second() = 0;
    int32_t FirstValue() const { return const_cast<IntegerPair*>(this)->First(); }
    int32_t SecondValue() const { return const_cast<IntegerPair*>(this)->Second(); }
};

class rg_WeiZhiLei final : public IntegerPair {
    QRN_DECLARE_CLASS(rg_WeiZhiLei)
public:
    rg_WeiZhiLei() = default;
    rg_WeiZhiLei(int32_t x0, int32_t y0) : x(x0), y(y0) {}
    rg_WeiZhiLei(const rg_WeiZhiLei&) = default;
    void GetDumpText(CWString& text, int32_t memberLimit) const override;

    int32_t x = 0;
    int32_t y = 0;

private:
    int32_t& First() override { return x; }
    int32_t& Second() override { return y; }
};

class rg_CheCunLei final : public IntegerPair {
    QRN_DECLARE_CLASS(rg_CheCunLei)
public:
    rg_CheCunLei() = default;
    rg_CheCunLei(int32_t w, int32_t h) : width(w), height(h) {}
    rg_CheCunLei(const rg_CheCunLei&) = default;
    void GetDumpText(CWString& text, int32_t memberLimit) const override;

    int32_t width = 0;
    int32_t height = 0;

private:
    int32_t& First() override { return width; }
    int32_t& Second() override { return height; }
};

}  // namespace rg_quarn_base

namespace rg_quarn_MFCJieMian_base {

class rg_ChuangKouWeiZhiXianZhiXinXi final : public CQrnObject {
    QRN_DECLARE_CLASS(rg_ChuangKouWeiZhiXianZhiXinXi)
public:
    rg_ChuangKouWeiZhiXianZhiXinXi() = default;
    rg_ChuangKouWeiZhiXianZhiXinXi(const rg_ChuangKouWeiZhiXianZhiXinXi&) = default;

    bool IsEqual(const CQrnObject& other) const override;
    bool CopyFrom(const CQrnObject& source) override;
    void Reset() override;
    void GetDumpText(CWString& text, int32_t memberLimit) const override;
    void LoadFromStream(CQrnStream& stream) override;
    void SaveToStream(CQrnStream& stream) const override;

    // The four points of the platform's record, in its order.
    void ReadFrom(const MINMAXINFO& info);
    void WriteTo(MINMAXINFO& info) const;

    rg_quarn_base::rg_CheCunLei maxSize;
    rg_quarn_base::rg_WeiZhiLei maxPosition;
    rg_quarn_base::rg_CheCunLei minTrackSize;
    rg_quarn_base::rg_CheCunLei maxTrackSize;
};

}  // namespace rg_quarn_MFCJieMian_base
