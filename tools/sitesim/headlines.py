"""Realistic Chinese FX headlines from templates, deterministic for a seed."""
import random

PAIRS = ["欧元/美元", "英镑/美元", "美元/日元", "澳元/美元", "美元/瑞郎", "美元/加元", "纽元/美元", "欧元/日元"]
CURRENCIES = ["美元", "欧元", "英镑", "日元", "澳元", "瑞郎", "加元", "纽元", "人民币"]
BANKS = ["美联储", "欧洲央行", "英国央行", "日本央行", "澳洲联储", "瑞士央行", "加拿大央行", "中国人民银行"]
PEOPLE = ["鲍威尔", "拉加德", "贝利", "植田和男", "布洛克", "沃勒", "威廉姆斯", "施纳贝尔"]
COUNTRIES = ["美国", "欧元区", "英国", "日本", "澳大利亚", "德国", "加拿大", "中国"]
INDICATORS = ["CPI年率", "PPI月率", "零售销售月率", "失业率", "GDP季率", "制造业PMI", "贸易帐", "非农就业人数"]
MOVES = ["走强", "走弱", "小幅上扬", "震荡走低", "跳涨", "急跌", "收复失地", "承压下行"]
LEVELS = ["1.0850", "1.2700", "149.50", "0.6650", "0.8800", "1.3550", "0.6100", "162.30"]

TEMPLATES = [
    "{bank}{person}：通胀仍然过高，{verb}",
    "{country}{month}月{indicator}公布，{cur}{move}",
    "{pair}日内交易策略：关注{level}附近阻力",
    "{pair}{move}，技术面看多信号增强",
    "{bank}维持利率不变，{cur}短线{move}",
    "市场风险情绪回暖，{cur}{move}",
    "{country}{indicator}好于预期，{pair}{move}",
    "分析师：{cur}短期或测试{level}一线",
    "{person}讲话后{cur}{move}，交易员押注年内降息",
    "{pair}跌破{level}关口，空头力量占优",
]
VERBS = ["不排除进一步加息", "降息时机尚未到来", "将密切关注数据", "政策保持灵活"]


def headline(rng):
    template = rng.choice(TEMPLATES)
    return template.format(
        bank=rng.choice(BANKS), person=rng.choice(PEOPLE), verb=rng.choice(VERBS),
        country=rng.choice(COUNTRIES), month=rng.randint(1, 12), indicator=rng.choice(INDICATORS),
        cur=rng.choice(CURRENCIES), move=rng.choice(MOVES), pair=rng.choice(PAIRS), level=rng.choice(LEVELS))


def headlines(seed, count):
    """count distinct headlines; a serial keeps them distinct from each other."""
    rng = random.Random(seed)
    out = []
    while len(out) < count:
        text = headline(rng)
        if all(text not in other and other not in text for other in out):
            out.append(text)
    return out


def summary(rng, title):
    return title + "。" + rng.choice([
        "市场人士认为短期内波动或将加剧。", "投资者关注本周稍晚公布的数据。",
        "技术指标显示超买迹象。", "交易员正在重新评估政策前景。"])


def retold(rng, title):
    """The same story as another site words it: its punctuation, widths and
    spacing changed a little, nothing else."""
    ways = [
        lambda t: t.replace("，", ", "),
        lambda t: t + rng.choice(["。", "！"]),
        lambda t: "【" + t + "】",
        lambda t: t.translate({c: c + 0xFEE0 for c in range(ord("0"), ord("9") + 1)} |
                              {c: c + 0xFEE0 for c in range(ord("A"), ord("Z") + 1)}),
        lambda t: t.replace("/", " / "),
    ]
    changed = title
    for way in rng.sample(ways, 2):
        changed = way(changed)
    return changed if changed != title else title + "。"
