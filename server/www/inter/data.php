<?xml version="1.0" encoding="UTF-8"?>
<sps version="2.0">
    <channel folded="no">
        <title>Speeches 演讲</title>
        <item>
            <title>Cities and climate 城市与气候</title>
            <audiourl>../materials/city_climate.mp3</audiourl>
            <description>../materials/city_climate.txt</description>
            <translation>../materials/city_climate@T.txt</translation>
        </item>
        <item>
            <title>Opening a trade forum 贸易论坛开幕词</title>
            <audiourl>../materials/trade_forum.mp3</audiourl>
            <description>../materials/trade_forum.txt</description>
            <translation>../materials/trade_forum@T.txt</translation>
        </item>
    </channel>
    <channel folded="no">
        <title>News 新闻</title>
        <item>
            <title>Health report 健康报道</title>
            <audiourl>../materials/health_news.mp3</audiourl>
            <description>../materials/health_news.txt</description>
            <translation>../materials/health_news@T.txt</translation>
        </item>
        <item>
            <title>New rail line 新铁路线</title>
            <audiourl>../materials/rail_news.mp3</audiourl>
            <description>../materials/rail_news.txt</description>
            <translation>../materials/rail_news@T.txt</translation>
        </item>
    </channel>
</sps>
