#include "frontend/ComponentInfoPanel.h"

#include "frontend/ScreenLayout.h"
#include "ships/ShipComponentDatabase.h"

#include <cmath>

namespace
{
// The panel's label texts.
enum EInfoLabel : uint32_t
{
    LABEL_MASS = 0x89000001,
    LABEL_AMMO = 0x14000003,
    LABEL_SIZE = 0x60000002,
    TEXT_UNLIMITED = 0xbf000005,
    LABEL_OUTPUT = 0x25000004,
    LABEL_CAPACITY = 0xf0000002,
    LABEL_ENERGY_USE = 0x97000003,
    LABEL_RATED_MASS = 0xc6000001,
    LABEL_MAX_FITTED = 0xa0000001,
    LABEL_CHARGE_RATE = 0x0f000006,
    LABEL_RECHARGE_RATE = 0x99000002,
    LABEL_CARGO_HOLD = 0x6f000002,
    LABEL_THRUST = 0x1d000000,
    LABEL_CHARGEABLE = 0x92000002,
    TEXT_YES = 0x56000003,
    TEXT_NO = 0xab000003,
    LABEL_COUNT = 0xf9000004,
};

SInfoText Id(uint32_t id)
{
    SInfoText text;
    text.isId = true;
    text.id = id;
    return text;
}

SInfoText Literal(const char16_t* literal)
{
    SInfoText text;
    text.literal = literal;
    return text;
}

SInfoText Number(int64_t value)
{
    SInfoText text;
    text.literal = FormatNumber(value);
    return text;
}

// A float value shown cut to a whole number.
SInfoText Whole(float value)
{
    return Number(std::isfinite(value) ? static_cast<int64_t>(std::trunc(value)) : 0);
}

const SInfoText NO_LABEL = Literal(u"...");
const SInfoText NO_VALUE = Literal(u".");

bool IsStationMount(int32_t kind)
{
    return kind == COMPONENT_STATION_WEAPON || kind == COMPONENT_STATION_VAC;
}

bool IsChargeableGun(int32_t kind)
{
    return kind == COMPONENT_PROJECTILE_GUN || kind == COMPONENT_LASER;
}

bool UsesRounds(int32_t kind)
{
    return kind == COMPONENT_MISSILE || kind == COMPONENT_BOMB || kind == COMPONENT_AMMO_MISSILE ||
           kind == COMPONENT_AMMO_BOMB;
}

SInfoText ShapeText(const CShipComponentDef& def)
{
    if (def.m_kind == COMPONENT_HULL)
        return NO_VALUE;
    if (IsStationMount(def.m_kind))
        return Id(TEXT_UNLIMITED);
    static const char16_t* const shapes[] = {u".", u"1", u"2x1", u"1x2", u"2x2"};
    return def.m_podShape >= 0 && def.m_podShape <= POD_SHAPE_TWO_BY_TWO ? Literal(shapes[def.m_podShape]) : NO_VALUE;
}

// Rows 5 and 6: what the part does with energy.
void FillEnergyRows(const CShipComponentDef& def, SComponentInfo& info)
{
    switch (def.m_kind)
    {
    case COMPONENT_GENERATOR:
        info.rows[5] = Id(LABEL_OUTPUT);
        info.rows[6] = Number(static_cast<const CGeneratorDef&>(def).m_outputPerSec);
        break;
    case COMPONENT_BATTERY:
        info.rows[5] = Id(LABEL_CAPACITY);
        info.rows[6] = Whole(static_cast<const CBatteryDef&>(def).m_maxEnergy);
        break;
    case COMPONENT_HULL:
    case COMPONENT_STATION_WEAPON:
    case COMPONENT_STATION_VAC:
        break;
    default:
        info.rows[5] = Id(LABEL_ENERGY_USE);
        info.rows[6] = Number(def.m_energyRequirement);
        break;
    }
}

// Rows 7 and 8.
void FillFirstKindRow(const CShipComponentDef& def, SComponentInfo& info)
{
    switch (def.m_kind)
    {
    case COMPONENT_ENGINE:
        info.rows[7] = Id(LABEL_RATED_MASS);
        info.rows[8] = Number(static_cast<const CEngineDef&>(def).m_massDampingRated);
        break;
    case COMPONENT_GENERATOR:
        info.rows[7] = Id(LABEL_MAX_FITTED);
        info.rows[8] = Literal(u"1");
        break;
    case COMPONENT_DRONE:
        info.rows[7] = Id(LABEL_MAX_FITTED);
        info.rows[8] = Literal(u"2");
        break;
    case COMPONENT_BATTERY:
        info.rows[7] = Id(LABEL_CHARGE_RATE);
        info.rows[8] = Whole(static_cast<const CBatteryDef&>(def).m_chargeRateSec);
        break;
    case COMPONENT_SHIELD:
        info.rows[7] = Id(LABEL_RECHARGE_RATE);
        info.rows[8] = Whole(static_cast<const CShieldDef&>(def).m_maxChargeRateSec);
        break;
    case COMPONENT_CARGO:
        info.rows[7] = Id(LABEL_CARGO_HOLD);
        info.rows[8] = Literal(u"25");
        break;
    case COMPONENT_ANY_WEAPON:
    case COMPONENT_HULL:
    case COMPONENT_GRAVITY_BEAM:
    case COMPONENT_STATION_WEAPON:
    case COMPONENT_STATION_VAC:
        break;
    default: // the weapons and both kinds of rounds
        info.rows[7] = Id(LABEL_AMMO);
        if (def.m_kind == COMPONENT_PROJECTILE_GUN || def.m_kind == COMPONENT_LASER ||
            def.m_kind == COMPONENT_PINBEAM)
            info.rows[8] = Id(TEXT_UNLIMITED);
        else if (UsesRounds(def.m_kind))
            info.rows[8] = Number(def.m_ammo);
        break;
    }
}

// Rows 9 and 10.
void FillSecondKindRow(const CShipComponentDef& def, SComponentInfo& info)
{
    switch (def.m_kind)
    {
    case COMPONENT_ENGINE:
        info.rows[9] = Id(LABEL_THRUST);
        info.rows[10] = Number(static_cast<const CEngineDef&>(def).m_thrust);
        break;
    case COMPONENT_PROJECTILE_GUN:
    case COMPONENT_MISSILE:
    case COMPONENT_BOMB:
    case COMPONENT_LASER:
    case COMPONENT_PINBEAM:
        info.rows[9] = Id(LABEL_CHARGEABLE);
        info.rows[10] = Id(IsChargeableGun(def.m_kind) ? TEXT_YES : TEXT_NO);
        break;
    case COMPONENT_SHIELD:
        info.rows[9] = Id(LABEL_MAX_FITTED);
        info.rows[10] = Literal(u"1");
        break;
    case COMPONENT_DRONE:
        info.rows[9] = Id(LABEL_AMMO);
        info.rows[10] = Id(TEXT_UNLIMITED);
        break;
    default:
        break;
    }
}

// Rows 11 and 12: the fitting limit of engines and bombs, or the caller's count.
void FillLastRow(const CShipComponentDef& def, int32_t count, SComponentInfo& info)
{
    if (count >= 1)
    {
        info.rows[11] = Id(LABEL_COUNT);
        info.rows[12] = Number(count);
        return;
    }
    if (def.m_kind == COMPONENT_ENGINE || def.m_kind == COMPONENT_BOMB)
    {
        info.rows[11] = Id(LABEL_MAX_FITTED);
        info.rows[12] = Literal(def.m_kind == COMPONENT_ENGINE ? u"1" : u"4");
    }
}
} // namespace

std::u16string FormatNumber(int64_t value)
{
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}

SComponentInfo BuildComponentInfo(const CShipComponentDatabase* database, int32_t kind, int32_t definition,
                                  bool empty, int32_t count)
{
    SComponentInfo info;
    info.rows[0] = NO_LABEL;
    for (int row = 1; row < COMPONENT_INFO_ROWS; ++row)
        info.rows[row] = row % 2 == 1 ? NO_LABEL : NO_VALUE;
    // A definition index from a save may lie beyond the kind's table: the empty form.
    const CShipComponentDef* def =
        kind != COMPONENT_NONE && !empty && database ? database->GetComponentDef(kind, definition) : nullptr;
    if (!def)
        return info;
    info.rows[0] = Id(def->m_descriptionStringId);
    info.rows[1] = Id(LABEL_MASS);
    info.rows[2] = Number(def->m_mass);
    if (IsStationMount(def->m_kind))
        info.rows[3] = Id(LABEL_AMMO);
    else if (def->m_kind != COMPONENT_HULL)
        info.rows[3] = Id(LABEL_SIZE);
    info.rows[4] = ShapeText(*def);
    FillEnergyRows(*def, info);
    FillFirstKindRow(*def, info);
    FillSecondKindRow(*def, info);
    FillLastRow(*def, count, info);
    return info;
}

void ShowComponentInfo(const CScreenLayout& layout, int firstId, const CShipComponentDatabase* database, int32_t kind,
                       int32_t definition, bool empty, int32_t count)
{
    const SComponentInfo info = BuildComponentInfo(database, kind, definition, empty, count);
    for (int row = 0; row < COMPONENT_INFO_ROWS; ++row)
    {
        if (info.rows[row].isId)
            layout.SetTextById(firstId + row, info.rows[row].id);
        else
            layout.SetText(firstId + row, info.rows[row].literal);
    }
}
