// Two drawing extras of buttons: the picture layer (a texture or an animated picture
// over any button's background, kept first in every kind's state) and the ring indicator
// (kind 12: an outer rim, an inner disc and a pie filling the disc in proportion to a
// value, each a fan of 64 triangles).
//
// Sections: picture layer; the plain kinds that carry one; ring indicator.
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "EngDebug.h"
#include "EngDevice.h"
#include "EngPicture.h"
#include "EngTexture.h"
#include "EngTriangleList.h"
#include "MWinKinds.h"

// ---- Picture layer ------------------------------------------------------------------------

// Kinds whose state is only the picture layer (allocated when a picture is attached).
static bool PictureIsCarrierKind(int kind)
{
    return kind == MWIN_BUTTON_PLAIN || kind == MWIN_BUTTON_PUSH || kind == MWIN_BUTTON_STATIC ||
           kind == MWIN_BUTTON_KIND_6 || kind == MWIN_BUTTON_KIND_13 || kind == MWIN_BUTTON_KIND_17;
}

static bool PictureHasLayer(int kind)
{
    return PictureIsCarrierKind(kind) || kind == MWIN_BUTTON_TEXT_EDIT || kind == MWIN_BUTTON_LIST ||
           kind == MWIN_BUTTON_CHECKBOX || kind == MWIN_BUTTON_CHOICE || kind == MWIN_BUTTON_PANEL ||
           kind == MWIN_BUTTON_RING || kind == MWIN_BUTTON_RANGE_SLIDER;
}

_MWinPictureLayer *MWinKindPictureLayer(const MWinButton *button)
{
    if (!PictureHasLayer(button->GetType()))
        return nullptr;
    return (_MWinPictureLayer *)button->GetKindData();
}

static _MWinPictureLayer *PictureLayerForWriting(MWinButton *button)
{
    _MWinPictureLayer *layer = MWinKindPictureLayer(button);
    if (!layer && PictureIsCarrierKind(button->GetType()) && !button->GetKindData())
    {
        layer = (_MWinPictureLayer *)calloc(1, sizeof(_MWinPictureLayer));
        button->SetKindData(layer);
    }
    return layer;
}

bool MWinButton::PictureAttachTextureToButton(EngTexture *texture, char blend)
{
    _MWinPictureLayer *layer = PictureLayerForWriting(this);
    if (!layer)
        return false;
    if (!texture)
    {
        DebugError(ENG_FUNC, "No texture");
        PictureRemove();
        return false;
    }
    if (!texture->IsLoaded())
        DebugError(ENG_FUNC, "Warning: texture is not loaded");
    layer->mode = (uint8_t)(blend + 4);
    layer->texture = texture;
    layer->picture = nullptr;
    layer->hasCoordinates = false;
    RequestRedraw();
    return true;
}

bool MWinButton::PictureSetTextureCoordinates(float left, float top, float right, float bottom)
{
    _MWinPictureLayer *layer = MWinKindPictureLayer(this);
    if (!layer || !layer->texture || !layer->texture->IsLoaded())
    {
        DebugError(ENG_FUNC, "Texture Not Ok");
        return false;
    }
    layer->hasCoordinates = true;
    layer->coordinates[0] = left;
    layer->coordinates[1] = top;
    layer->coordinates[2] = right;
    layer->coordinates[3] = bottom;
    return true;
}

bool MWinButton::PictureSetTextureCoordinatesFromArray(const float *coordinates)
{
    static const float whole[4] = {0, 0, 1, 1};
    if (!coordinates)
        coordinates = whole;
    return PictureSetTextureCoordinates(coordinates[0], coordinates[1], coordinates[2], coordinates[3]);
}

bool MWinButton::PictureAttachPictureToButton(EngPicture *picture, char animate)
{
    _MWinPictureLayer *layer = PictureLayerForWriting(this);
    if (!layer)
        return false;
    if (!picture)
    {
        DebugError(ENG_FUNC, "No picture");
        PictureRemove();
        return false;
    }
    layer->mode = 2;
    layer->picture = picture;
    layer->texture = nullptr;
    layer->animate = animate != 0;
    layer->hasInsets = false;
    RequestRedraw();
    return true;
}

void MWinButton::PictureSetAreaPercent(float left, float top, float right, float bottom)
{
    _MWinPictureLayer *layer = MWinKindPictureLayer(this);
    if (!layer)
        return;
    layer->hasInsets = true;
    layer->insets[0] = left * area.w / 100;
    layer->insets[1] = top * area.h / 100;
    layer->insets[2] = right * area.w / 100;
    layer->insets[3] = bottom * area.h / 100;
}

void MWinButton::PictureRemove()
{
    _MWinPictureLayer *layer = MWinKindPictureLayer(this);
    if (!layer)
        return;
    layer->mode = 0;
    layer->texture = nullptr;
    layer->picture = nullptr;
    RequestRedraw();
}

int MWinButton::PictureGetMode() const
{
    _MWinPictureLayer *layer = MWinKindPictureLayer(this);
    return layer ? layer->mode : 0;
}

void MWinButton::PictureRender()
{
    _MWinPictureLayer *layer = MWinKindPictureLayer(this);
    if (!layer || !layer->mode || !EngMainDevice)
        return;
    _Dimension box = screenArea;
    if (layer->hasInsets)
    {
        box.x += layer->insets[0];
        box.y += layer->insets[1];
        box.w -= layer->insets[0] + layer->insets[2];
        box.h -= layer->insets[1] + layer->insets[3];
    }
    EngMainDevice->SaveOrRestoreBlendingState(true);
    if (layer->mode == 2 && layer->picture)
    {
        layer->picture->SetDrawAreaFromDimension(&box);
        if (multiplierMode)
            layer->picture->DrawWithAlpha(multiplier[3]);
        else
            layer->picture->Draw();
    }
    else if (layer->mode >= 4 && layer->texture)
    {
        EngMainDevice->EnableBlendingType(layer->mode - 4);
        if (multiplierMode)
            layer->texture->SetColour(multiplier[0], multiplier[1], multiplier[2], multiplier[3]);
        else
            layer->texture->SetColour(1, 1, 1, 1);
        layer->texture->PositionRatioedFromDimension(&box);
        if (layer->hasCoordinates)
            layer->texture->DrawWithTextureCoordinates(layer->coordinates[0], layer->coordinates[1],
                                                       layer->coordinates[2], layer->coordinates[3]);
        else
            layer->texture->Draw();
    }
    EngMainDevice->SaveOrRestoreBlendingState(false);
}

bool MWinButton::PictureTick()
{
    _MWinPictureLayer *layer = MWinKindPictureLayer(this);
    if (!layer || layer->mode != 2 || !layer->picture || !layer->animate)
        return false;
    layer->picture->Tick(1.0f);
    return true;
}

// ---- The plain kinds that carry one -------------------------------------------------------

static void CarrierDestroy(MWinButton *button)
{
    free(button->GetKindData());
    button->SetKindData(nullptr);
}

static bool CarrierRenderBack(MWinButton *button, int state)
{
    button->RenderBackTexBut(state);
    button->PictureRender();
    return true;
}

static bool CarrierUpdate(MWinButton *button)
{
    return button->PictureTick();
}

const _MWinButtonKindOps mwin_picture_carrier_ops = {
    nullptr, CarrierDestroy, CarrierUpdate, nullptr, CarrierRenderBack, nullptr, nullptr, nullptr, nullptr,
    nullptr, nullptr,        nullptr,       nullptr, nullptr,           nullptr, nullptr, nullptr, nullptr,
};

// ---- Ring indicator -----------------------------------------------------------------------

enum
{
    RING_TRIANGLES = 64,
};

namespace
{
struct RingData
{
    _MWinPictureLayer picture; // first: every kind state starts with it
    float value, maximum;
    float colours[3][3];       // pie, disc, rim
    EngTriangleList *lists[3]; // pie, disc, rim
};
} // namespace

static RingData *RingOf(const MWinButton *button)
{
    return button->GetType() == MWIN_BUTTON_RING ? (RingData *)button->GetKindData() : nullptr;
}

static void RingInit(MWinButton *button)
{
    RingData *data = (RingData *)calloc(1, sizeof(RingData));
    button->SetKindData(data);
    if (!data)
        return;
    data->value = 0.5f;
    data->maximum = 1.0f;
    const _MWinKindSettings *settings = MWinKindsGetSettings();
    memcpy(data->colours[0], settings->ringPieColour, sizeof(data->colours[0]));
    memcpy(data->colours[1], settings->ringDiscColour, sizeof(data->colours[1]));
    memcpy(data->colours[2], settings->ringRimColour, sizeof(data->colours[2]));
    button->SetKindReady(true);
}

static void RingDestroyLists(MWinButton *button)
{
    RingData *data = RingOf(button);
    if (!data)
        return;
    for (int i = 0; i < 3; i++)
    {
        delete data->lists[i];
        data->lists[i] = nullptr;
    }
}

static void RingDestroy(MWinButton *button)
{
    RingDestroyLists(button);
    free(button->GetKindData());
    button->SetKindData(nullptr);
}

static void RingUpdateLayout(MWinButton *button)
{
    RingData *data = RingOf(button);
    if (!data || !EngMainDevice)
        return;
    const _Dimension *screen = button->GetScreenAreaP();
    float cx = screen->x + screen->w / 2, cy = screen->y + screen->h / 2;
    float f1 = MWinKindLayout(button, MWIN_LF_RING_F1), f2 = MWinKindLayout(button, MWIN_LF_RING_F2);
    float rimX = screen->w / 2, rimY = screen->h / 2;
    if (f1 > 0)
    {
        rimX -= screen->w * f1;
        rimY -= screen->h * f1;
    }
    float innerX = rimX, innerY = rimY;
    if (f2 > 0)
    {
        innerX -= screen->w * f2;
        innerY -= screen->h * f2;
    }
    float radii[3][2] = {{innerX, innerY}, {innerX, innerY}, {rimX, rimY}};
    float fractions[3] = {data->maximum > 0 ? data->value / data->maximum : 0, 1, 1};
    if (fractions[0] > 1)
        fractions[0] = 1;
    if (fractions[0] < 0)
        fractions[0] = 0;
    const _MWinKindSettings *settings = MWinKindsGetSettings();
    bool switches[3] = {settings->ringPie, settings->ringDisc, settings->ringRim};
    const float *multiplier = button->KindMultiplierColour();
    float alpha = multiplier ? multiplier[3] : 1.0f;
    for (int part = 0; part < 3; part++)
    {
        if (!data->lists[part])
        {
            data->lists[part] = new EngTriangleList();
            if (!data->lists[part]->Create(ENG_TRIANGLES_COL, nullptr, RING_TRIANGLES))
            {
                delete data->lists[part];
                data->lists[part] = nullptr;
                continue;
            }
        }
        float rx = radii[part][0] < 1 ? 1 : radii[part][0], ry = radii[part][1] < 1 ? 1 : radii[part][1];
        for (int i = 0; i < RING_TRIANGLES; i++)
        {
            double a1 = M_PI / 2 + 2 * M_PI * fractions[part] * i / (double)RING_TRIANGLES;
            double a2 = M_PI / 2 + 2 * M_PI * fractions[part] * (i + 1) / (double)RING_TRIANGLES;
            data->lists[part]->SetPositions((unsigned)i, cx, cy, 0, cx + (float)sin(-a1) * rx,
                                            cy + (float)cos(-a1) * ry, 0, cx + (float)sin(-a2) * rx,
                                            cy + (float)cos(-a2) * ry, 0);
            const float *colour = data->colours[part];
            data->lists[part]->SetColour((unsigned)i, colour[0], colour[1], colour[2], switches[part] ? alpha : 0);
        }
    }
}

static bool RingRenderBack(MWinButton *button, int state)
{
    RingData *data = RingOf(button);
    button->RenderBackTexBut(state);
    if (data && EngMainDevice)
    {
        const _MWinKindSettings *settings = MWinKindsGetSettings();
        if (settings->ringBlendType >= 0)
        {
            EngMainDevice->SaveOrRestoreBlendingState(true);
            EngMainDevice->EnableBlendingType(settings->ringBlendType);
        }
        bool switches[3] = {settings->ringPie, settings->ringDisc, settings->ringRim};
        static const int order[3] = {2, 1, 0}; // rim, disc, pie
        for (int k = 0; k < 3; k++)
        {
            int part = order[k];
            if (switches[part] && data->lists[part])
                data->lists[part]->Draw();
        }
        if (settings->ringBlendType >= 0)
            EngMainDevice->SaveOrRestoreBlendingState(false);
    }
    button->PictureRender();
    return true;
}

void MWinButton::RingSetValue(float value, float maximum)
{
    RingData *data = RingOf(this);
    if (!data)
        return;
    data->value = value;
    data->maximum = maximum;
    RingUpdateLayout(this);
    RequestRedraw();
}

void MWinButton::RingSetColours(const float *pie, const float *disc, const float *rim)
{
    RingData *data = RingOf(this);
    if (!data)
        return;
    const float *given[3] = {pie, disc, rim};
    for (int i = 0; i < 3; i++)
        if (given[i])
            memcpy(data->colours[i], given[i], sizeof(data->colours[i]));
    RingUpdateLayout(this);
}

static bool RingCreateGraphics(MWinButton *button)
{
    RingUpdateLayout(button);
    return true;
}

static bool RingUpdate(MWinButton *button)
{
    return button->PictureTick();
}

const _MWinButtonKindOps mwin_ring_ops = {
    RingInit, RingDestroy, RingUpdate, RingUpdateLayout, RingRenderBack, nullptr, nullptr, nullptr, nullptr,
    nullptr,  nullptr,     nullptr,    nullptr,          nullptr,        nullptr, nullptr, RingCreateGraphics,
    RingDestroyLists,
};
